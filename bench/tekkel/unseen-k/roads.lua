-- A kingdom's road network by Kruskal's method (see roads.tkl).
local seed = 23
local function draw(k)
  seed = (7141 * seed + 54773) % 259200
  return math.floor(seed * k / 259200)
end

local TOWNS, TRIES, KINGDOMS = 300, 10, 200
local x, y, key, parent, size = {}, {}, {}, {}, {}

local function find(a)
  while parent[a] ~= a do
    parent[a] = parent[parent[a]]
    a = parent[a]
  end
  return a
end

local sumLength, sumRoads, sumParts, longest, swaps, checksum = 0, 0, 0, 0, 0, 0
for kingdom = 1, KINGDOMS do
  for i = 1, TOWNS do
    x[i] = draw(200)
    y[i] = draw(200)
  end
  local m = 0
  for i = 1, TOWNS do
    for t = 1, TRIES do
      local j = draw(TOWNS) + 1
      if j ~= i then
        local dx, dy = x[i] - x[j], y[i] - y[j]
        if dx < 0 then dx = -dx end
        if dy < 0 then dy = -dy end
        if dx + dy <= 70 then
          local w = dx + dy + draw(20)
          m = m + 1
          key[m] = w * 90000 + (i - 1) * 300 + j - 1
        end
      end
    end
  end
  -- comb sort
  local gap, swapped = m, true
  while gap > 1 or swapped do
    gap = math.floor(gap * 10 / 13)
    if gap < 1 then gap = 1 end
    swapped = false
    for i = 1, m - gap do
      if key[i] > key[i + gap] then
        key[i], key[i + gap] = key[i + gap], key[i]
        swapped = true
        swaps = swaps + 1
      end
    end
  end
  for i = 1, TOWNS do
    parent[i] = i
    size[i] = 1
  end
  local built, length = 0, 0
  for e = 1, m do
    local w = math.floor(key[e] / 90000)
    local r = key[e] % 90000
    local a = find(math.floor(r / 300) + 1)
    local b = find(r % 300 + 1)
    if a ~= b then
      if size[a] < size[b] then a, b = b, a end
      parent[b] = a
      size[a] = size[a] + size[b]
      built = built + 1
      length = length + w
      if w > longest then longest = w end
      checksum = (checksum * 7 + e) % 1000003
    end
  end
  sumLength = sumLength + length
  sumRoads = sumRoads + built
  sumParts = sumParts + TOWNS - built
end
print(sumLength)
print(sumRoads)
print(sumParts)
print(longest)
print(swaps)
print(checksum)
