local W, H = 64, 48
local x = 7
local function draw(k)
  x = (2661 * x + 36979) % 175000
  return math.floor(x * k / 175000)
end

local map, stamp = {}, {}
for y = 0, H - 1 do
  for c = 0, W - 1 do
    local wall = 0
    if y == 0 or y == H - 1 or c == 0 or c == W - 1 then
      wall = 1
    elseif c % 8 == 0 and y % 6 == 0 then
      wall = 1
    elseif draw(100) < 12 then
      wall = 1
    end
    map[y * W + c + 1] = wall
    stamp[y * W + c + 1] = 0
  end
end

-- the ends of the rays: the square of radius 8 round the viewer
local tx, ty = {}, {}
for i = -8, 8 do tx[#tx + 1] = i; ty[#ty + 1] = -8 end
for i = -8, 8 do tx[#tx + 1] = i; ty[#ty + 1] = 8 end
for j = -7, 7 do tx[#tx + 1] = -8; ty[#ty + 1] = j end
for j = -7, 7 do tx[#tx + 1] = 8; ty[#ty + 1] = j end

local seen, walls, ever, best, bestcell, steps = 0, 0, 0, 0, 0, 0
local view, cell0 = 0, 0
for v = 1, 5000 do
  repeat cell0 = draw(W * H) + 1 until map[cell0] == 0
  stamp[cell0] = v
  view = 1
  for t = 1, #tx do
    local dx, dy = tx[t], ty[t]
    local adx, ady = math.abs(dx), math.abs(dy)
    local sx, sy = 0, 0
    if dx > 0 then sx = 1 elseif dx < 0 then sx = -1 end
    if dy > 0 then sy = 1 elseif dy < 0 then sy = -1 end
    local err, rx, ry, cell = adx - ady, 0, 0, cell0
    while rx ~= dx or ry ~= dy do
      local e2 = 2 * err
      if e2 > -ady then
        err = err - ady
        rx = rx + sx
        cell = cell + sx
      end
      if e2 < adx then
        err = err + adx
        ry = ry + sy
        cell = cell + W * sy
      end
      if rx * rx + ry * ry > 72 then break end
      steps = steps + 1
      if stamp[cell] ~= v then
        if stamp[cell] == 0 then ever = ever + 1 end
        stamp[cell] = v
        view = view + 1
        if map[cell] == 1 then walls = walls + 1 end
      end
      if map[cell] == 1 then break end
    end
  end
  seen = seen + view
  if view > best then best, bestcell = view, cell0 end
end
print(seen)
print(walls)
print(ever)
print(steps)
print(best)
print(bestcell)
-- the last view as text
local vy, vx = math.floor((cell0 - 1) / W), (cell0 - 1) % W
for dy = -8, 8 do
  local row = ""
  for dx = -8, 8 do
    local cy, cx = vy + dy, vx + dx
    local ch = "~"
    if cy >= 0 and cy < H and cx >= 0 and cx < W then
      local cell = cy * W + cx + 1
      if cell == cell0 then
        ch = "@"
      elseif stamp[cell] == 5000 then
        if map[cell] == 1 then ch = "#" else ch = "." end
      else
        ch = "?"
      end
    end
    row = row .. ch
  end
  print(row)
end
