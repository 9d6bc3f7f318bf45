-- site percolation on a 40 x 40 grid by union-find (union by size, path halving): sites open
-- in a shuffled order until the top row joins the bottom row
local n = 40
local cells = n * n
local top, bottom = cells + 1, cells + 2
local x = 19
local function draw(k)
  x = (x * 8121 + 28411) % 134456
  return math.floor(x * k / 134456)
end

local middle = 20
local order = {}
for i = 1, cells do order[i] = i end
local finds, hops, unions = 0, 0, 0
local sum, sumsq, biggest, spanning = 0, 0, 0, 0
local parent, size

local function find(a)
  finds = finds + 1
  while parent[a] ~= a do
    parent[a] = parent[parent[a]]
    a = parent[a]
    hops = hops + 1
  end
  return a
end

local function union(a, b)
  local ra, rb = find(a), find(b)
  if ra == rb then return end
  if size[ra] < size[rb] then ra, rb = rb, ra end
  parent[rb] = ra
  size[ra] = size[ra] + size[rb]
  unions = unions + 1
end

local trials = 350
local row = ""
for t = 1, trials do
  for i = cells, 2, -1 do
    local j = draw(i) + 1
    order[i], order[j] = order[j], order[i]
  end
  parent, size = {}, {}
  for s = 1, cells do parent[s] = 0 end
  parent[top], size[top] = top, 1
  parent[bottom], size[bottom] = bottom, 1
  local opened, root = 0, 0
  while true do
    opened = opened + 1
    local s = order[opened]
    parent[s] = s
    size[s] = 1
    local r = math.floor((s - 1) / n)
    local c = (s - 1) % n
    if r == 0 then union(s, top) elseif parent[s - n] ~= 0 then union(s, s - n) end
    if r == n - 1 then union(s, bottom) elseif parent[s + n] ~= 0 then union(s, s + n) end
    if c > 0 and parent[s - 1] ~= 0 then union(s, s - 1) end
    if c < n - 1 and parent[s + 1] ~= 0 then union(s, s + 1) end
    root = find(top)
    if root == find(bottom) then break end
  end
  sum = sum + opened
  sumsq = sumsq + opened * opened
  local big = size[root] - 2
  if big > biggest then biggest = big end
  spanning = spanning + big
  if t == trials then
    row = ""
    for c = 1, n do
      local s = (middle - 1) * n + c
      if parent[s] == 0 then
        row = row .. "#"
      elseif find(s) == root then
        row = row .. "~"
      else
        row = row .. "."
      end
    end
  end
end
local mean = sum / trials
print(string.format("%.15g", mean / cells))
print(string.format("%.15g", (sumsq / trials - mean * mean) / (cells * cells)))
print(biggest)
print(spanning)
print(unions)
print(finds)
print(hops)
print(row)
