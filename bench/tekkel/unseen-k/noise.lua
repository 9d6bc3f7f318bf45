-- Terrain from value noise in three octaves (see noise.tkl).
local seed = 5
local function draw(k)
  seed = (1277 * seed + 24749) % 117128
  return math.floor(seed * k / 117128)
end

local SIZE, WORLDS = 96, 32
local cells = {32, 16, 8}
local widths = {4, 7, 13}
local bases = {0, 16, 65}
local names = {"sea", "sand", "grass", "forest", "rock", "snow"}
local lat = {}

local function octave(o, x, y)
  local c, w, b = cells[o], widths[o], bases[o]
  local gx, gy = math.floor(x / c), math.floor(y / c)
  local fx, fy = (x % c) / c, (y % c) / c
  local sx = fx * fx * (3 - 2 * fx)
  local sy = fy * fy * (3 - 2 * fy)
  local i = b + gy * w + gx + 1
  local v00, v10, v01, v11 = lat[i], lat[i + 1], lat[i + w], lat[i + w + 1]
  local top = v00 + (v10 - v00) * sx
  local bottom = v01 + (v11 - v01) * sx
  return top + (bottom - top) * sy
end

local counts = {0, 0, 0, 0, 0, 0}
local sum, best, bestWhere, coast = 0.0, -1.0, "", 0
for world = 1, WORLDS do
  for i = 1, 234 do lat[i] = draw(1001) / 1000 end
  for y = 0, SIZE - 1 do
    local wasSea = false
    for x = 0, SIZE - 1 do
      local h = (octave(1, x, y) * 4 + octave(2, x, y) * 2 + octave(3, x, y)) / 7
      sum = sum + h
      if h > best then
        best = h
        bestWhere = world .. " " .. x .. " " .. y
      end
      local kind
      if h < 0.38 then kind = 1
      elseif h < 0.43 then kind = 2
      elseif h < 0.58 then kind = 3
      elseif h < 0.66 then kind = 4
      elseif h < 0.74 then kind = 5
      else kind = 6 end
      counts[kind] = counts[kind] + 1
      if kind > 1 and wasSea then coast = coast + 1 end
      wasSea = kind == 1
    end
  end
end
for k = 1, 6 do print(names[k] .. " " .. counts[k]) end
print(coast)
print(string.format("%.15g", sum))
print(string.format("%.15g", best))
print(bestWhere)
