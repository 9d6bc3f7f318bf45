local symbols = {"e", "t", "a", "o", "i", "n", "s", "h", "r", "d", "l", "u", "c", "m", "f", "y",
                 "w", "g", "p", "b", "v", "k", "x", "q"}
local n = 24
local power = {[0] = 1}
for i = 1, 30 do power[i] = power[i - 1] * 2 end

local x = 9
local function draw(k)
  x = (421 * x + 17117) % 81000
  return math.floor(x * k / 81000)
end

local weight, parent, depth, order = {}, {}, {}, {}
local bits, fixed, longest, bad = 0, 0, 0, 0
local codes = ""
for t = 1, 10000 do
  for i = 1, n do
    weight[i] = math.floor(draw(1000) / i) + 1
    order[i] = i
  end
  -- the leaves by weight, by insertion
  for i = 2, n do
    local s = order[i]
    local j = i - 1
    while j >= 1 and weight[order[j]] > weight[s] do
      order[j + 1] = order[j]
      j = j - 1
    end
    order[j + 1] = s
  end
  -- two queues: the leaves in order, the joined nodes as they are made
  local leaf, node, made = 1, n + 1, n
  local function take()
    if leaf <= n and (node > made or weight[order[leaf]] <= weight[node]) then
      leaf = leaf + 1
      return order[leaf - 1]
    end
    node = node + 1
    return node - 1
  end
  for k = n + 1, 2 * n - 1 do
    local a = take()
    local b = take()
    weight[k] = weight[a] + weight[b]
    parent[a] = k
    parent[b] = k
    made = k
  end
  depth[2 * n - 1] = 0
  for v = 2 * n - 2, 1, -1 do depth[v] = depth[parent[v]] + 1 end
  local most = 0
  for i = 1, n do
    bits = bits + weight[i] * depth[i]
    fixed = fixed + weight[i] * 5
    if depth[i] > most then most = depth[i] end
  end
  if most > longest then longest = most end
  local kraft = 0
  for i = 1, n do kraft = kraft + power[most - depth[i]] end
  if kraft ~= power[most] then bad = bad + 1 end
  if t % 2500 == 0 then
    codes = symbols[1] .. depth[1]
    for i = 2, n do codes = codes .. " " .. symbols[i] .. depth[i] end
    print(codes)
  end
end
print(bits)
print(fixed)
print(longest)
print(bad)
