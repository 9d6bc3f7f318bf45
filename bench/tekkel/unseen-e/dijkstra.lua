local W = 24
local N = W + 2
local INF = 1000000
local cost, dist, done = {}, {}, {}
local x = 5
local toTarget, allSum, longest, steps, last = 0, 0, 0, 0, 0
local function relax(u, v)
  if not done[v] then
    local d = dist[u] + cost[v]
    if d < dist[v] then dist[v] = d end
  end
end
local function cell(i)
  local r = math.floor(i / W)
  return (r + 1) * N + i - r * W + 1
end
for run = 1, 21 do
  for p = 0, N * N - 1 do
    cost[p] = 0
    dist[p] = INF
    done[p] = true
  end
  for r = 1, W do
    for c = 1, W do
      local p = r * N + c
      x = (x * 8121 + 28411) % 134456
      cost[p] = x % 9 + 1
      done[p] = false
    end
  end
  x = (x * 8121 + 28411) % 134456
  local s = x % (W * W)
  local src, dst = cell(s), cell(W * W - 1 - s)
  dist[src] = 0
  while true do
    local best, u = INF, 0
    for p = 0, N * N - 1 do
      if not done[p] and dist[p] < best then
        best = dist[p]
        u = p
      end
    end
    if best == INF then break end
    done[u] = true
    relax(u, u - N)
    relax(u, u + N)
    relax(u, u - 1)
    relax(u, u + 1)
  end
  for r = 1, W do
    for c = 1, W do
      local d = dist[r * N + c]
      allSum = allSum + d
      if d > longest then longest = d end
    end
  end
  last = dist[dst]
  toTarget = toTarget + last
  local cur = dst
  while cur ~= src do
    local need = dist[cur] - cost[cur]
    if dist[cur - N] == need then cur = cur - N
    elseif dist[cur + N] == need then cur = cur + N
    elseif dist[cur - 1] == need then cur = cur - 1
    else cur = cur + 1 end
    steps = steps + 1
  end
end
print(string.format("%d", toTarget))
print(string.format("%d", allSum))
print(string.format("%d", longest))
print(string.format("%d", steps))
print(string.format("%d", last))
