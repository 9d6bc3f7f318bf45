-- A courier's shortest round trip by branch and bound (see courier.tkl).
local seed = 3
local function draw(k)
  seed = (741 * seed + 66037) % 312500
  return math.floor(seed * k / 312500)
end

local N, ROUNDS = 9, 22
local x, y, d, used, path, bestPath = {}, {}, {}, {}, {}, {}
local best, calls = 0, 0

local function visit(depth, town, length)
  calls = calls + 1
  if depth == N then
    local total = length + d[(town - 1) * N + 1]
    if total < best then
      best = total
      for k = 1, N do bestPath[k] = path[k] end
    end
    return
  end
  for nxt = 2, N do
    if not used[nxt] then
      local l = length + d[(town - 1) * N + nxt]
      if l < best then
        used[nxt] = true
        path[depth + 1] = nxt
        visit(depth + 1, nxt, l)
        used[nxt] = false
      end
    end
  end
end

local sumBest, sumGreedy, greedyRight, longest = 0, 0, 0, 0
local tour = ""
for round = 1, ROUNDS do
  for i = 1, N do
    x[i] = draw(100)
    y[i] = draw(100)
  end
  for i = 1, N do
    for j = 1, N do
      local dx, dy = x[i] - x[j], y[i] - y[j]
      if dx < 0 then dx = -dx end
      if dy < 0 then dy = -dy end
      d[(i - 1) * N + j] = dx + dy
    end
  end
  -- nearest neighbour first, for a bound
  for i = 1, N do used[i] = false end
  used[1] = true
  path[1] = 1
  bestPath[1] = 1
  local cur, len = 1, 0
  for k = 2, N do
    local pick, near = 0, 1000
    for j = 2, N do
      if not used[j] and d[(cur - 1) * N + j] < near then
        pick, near = j, d[(cur - 1) * N + j]
      end
    end
    used[pick] = true
    bestPath[k] = pick
    len = len + near
    cur = pick
  end
  len = len + d[(cur - 1) * N + 1]
  for i = 2, N do used[i] = false end
  best = len
  visit(1, 1, 0)
  sumBest = sumBest + best
  sumGreedy = sumGreedy + len
  if best == len then greedyRight = greedyRight + 1 end
  if best > longest then longest = best end
  tour = tostring(bestPath[1])
  for k = 2, N do tour = tour .. "-" .. bestPath[k] end
  tour = tour .. "-1"
end
print(sumBest)
print(sumGreedy)
print(greedyRight)
print(longest)
print(calls)
print(tour)
