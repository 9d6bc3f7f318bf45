-- a first-person maze view: for each frame, 60 rays cast across a 60-degree view by a grid
-- walk (DDA) through a map written as text, the walls' distances turned into column heights
local rows = {
  "########################",
  "#......#.........#.....#",
  "#......#.........#.....#",
  "#..##..#...###...#..#..#",
  "#..##......#.#......#..#",
  "#..........#.#......#..#",
  "####..######.####..##..#",
  "#.........#.........#..#",
  "#.........#.........#..#",
  "#...##....#...####..#..#",
  "#...##........#..#.....#",
  "#.............#..#.....#",
  "######..#######..####..#",
  "#......................#",
  "#..#....#....#....#....#",
  "#......................#",
  "#..#....#....#....#....#",
  "#......................#",
  "#####..######..#########",
  "#......#....#..........#",
  "#......#....#...####...#",
  "#...........#...#..#...#",
  "#......#........#......#",
  "########################",
}
local map = {}
for y = 0, 23 do
  local s = rows[y + 1]
  for x = 0, 23 do
    if s:sub(x + 1, x + 1) == "#" then map[y * 24 + x + 1] = 1 else map[y * 24 + x + 1] = 0 end
  end
end
-- sines and cosines of whole degrees by their Taylor series
local sin, cos = {}, {}
for d = 0, 359 do
  local a = d * 3.14159265358979 / 180
  if d > 180 then a = a - 2 * 3.14159265358979 end
  local term, s = a, a
  for k = 1, 11 do
    term = -term * a * a / ((2 * k) * (2 * k + 1))
    s = s + term
  end
  sin[d] = s
  term = 1
  local c = 1
  for k = 1, 11 do
    term = -term * a * a / ((2 * k - 1) * (2 * k))
    c = c + term
  end
  cos[d] = c
end

local seed = 9
local function draw(k)
  seed = (seed * 421 + 17117) % 81000
  return math.floor(seed * k / 81000)
end

local shades = {" ", ".", ":", "-", "=", "+", "*", "#", "%", "@"}
local px, py, angle = 2.5, 2.5, 45
local rays, steps, total, turns, moves = 0, 0, 0, 0, 0
local strip, middle
for frame = 1, 8500 do
  strip = ""
  for i = 0, 59 do
    local d = (angle - 30 + i + 360) % 360
    local dx, dy = cos[d], sin[d]
    local mx, my = math.floor(px), math.floor(py)
    local deltax, deltay, stepx, stepy, sidex, sidey
    if dx < 0 then
      deltax = -1 / dx
      stepx = -1
      sidex = (px - mx) * deltax
    else
      if dx == 0 then deltax = 1e30 else deltax = 1 / dx end
      stepx = 1
      sidex = (mx + 1 - px) * deltax
    end
    if dy < 0 then
      deltay = -1 / dy
      stepy = -1
      sidey = (py - my) * deltay
    else
      if dy == 0 then deltay = 1e30 else deltay = 1 / dy end
      stepy = 1
      sidey = (my + 1 - py) * deltay
    end
    local dist
    while true do
      steps = steps + 1
      if sidex - sidey < 0 then
        mx = mx + stepx
        if map[my * 24 + mx + 1] == 1 then
          dist = sidex
          break
        end
        sidex = sidex + deltax
      else
        my = my + stepy
        if map[my * 24 + mx + 1] == 1 then
          dist = sidey
          break
        end
        sidey = sidey + deltay
      end
    end
    local perp = dist * cos[(i - 30 + 360) % 360]
    local h = math.floor(240 / perp)
    if h > 240 then h = 240 end
    total = total + h
    rays = rays + 1
    if i == 30 then middle = perp end
    local shade = math.floor(h / 25)
    strip = strip .. shades[shade + 1]
  end
  -- walk on unless a wall is close ahead; now and then look round
  if middle - 0.8 < 0 then
    angle = (angle + 10) % 360
    turns = turns + 1
  else
    px = px + cos[angle] * 0.12
    py = py + sin[angle] * 0.12
    moves = moves + 1
  end
  if frame % 40 == 0 then
    angle = (angle + draw(121) - 60 + 360) % 360
  end
end
print(rays)
print(steps)
print(total)
print(turns)
print(moves)
print(string.format("%.15g", px))
print(string.format("%.15g", py))
print(angle)
print(strip)
