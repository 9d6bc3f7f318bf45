local grid, body = {}, {}
local off = {-32, 1, 32, -1}   -- up, right, down, left
for i = 1, 1024 do
  local r = math.floor((i - 1) / 32)
  local c = i - 1 - r * 32
  if r == 0 or r == 31 or c == 0 or c == 31 then grid[i] = 1 else grid[i] = 0 end
end
local seed = 12
local food
local function placeFood()
  repeat
    seed = (seed * 3877 + 29573) % 139968
    local k = math.floor(seed * 900 / 139968)
    local r = math.floor(k / 30)
    food = (r + 1) * 32 + k - r * 30 + 2
  until grid[food] == 0
  grid[food] = 3
end
local center = 15 * 32 + 16
local hi, ti, len = 1, 1, 1
body[1] = center
grid[center] = 2
placeFood()
local eaten, deaths, longest, turns, lastDir = 0, 0, 1, 0, 0
for step = 1, 1000000 do
  local h = body[hi]
  local hr = math.floor((h - 1) / 32)
  local hc = h - 1 - hr * 32
  local fr = math.floor((food - 1) / 32)
  local fc = food - 1 - fr * 32
  local across, upDown = 0, 0
  if fc > hc then across = 2 elseif fc < hc then across = 4 end
  if fr > hr then upDown = 3 elseif fr < hr then upDown = 1 end
  local dir, cell = 0, 0
  for k = 1, 6 do
    local d
    if k == 1 then d = across elseif k == 2 then d = upDown else d = k - 2 end
    if d ~= 0 then
      local c = h + off[d]
      local g = grid[c]
      if g == 0 or g == 3 then
        dir, cell = d, c
        break
      end
    end
  end
  if dir == 0 then
    deaths = deaths + 1
    local p = ti
    while true do
      grid[body[p]] = 0
      if p == hi then break end
      p = p % 1024 + 1
    end
    grid[food] = 0
    hi, ti, len = 1, 1, 1
    body[1] = center
    grid[center] = 2
    placeFood()
    lastDir = 0
  else
    if dir ~= lastDir then turns = turns + 1 end
    lastDir = dir
    if grid[cell] == 3 then
      len = len + 1
      eaten = eaten + 1
      if len > longest then longest = len end
      hi = hi % 1024 + 1
      body[hi] = cell
      grid[cell] = 2
      placeFood()
    else
      grid[body[ti]] = 0
      ti = ti % 1024 + 1
      hi = hi % 1024 + 1
      body[hi] = cell
      grid[cell] = 2
    end
  end
end
print(string.format("%d", eaten))
print(string.format("%d", deaths))
print(string.format("%d", longest))
print(string.format("%d", len))
print(string.format("%d", turns))
print(string.format("%d", body[hi]))
