-- A scene graph of sprites walked recursively to place every node in the world (see scene.tkl).
local seed = 13
local function draw(k)
  seed = (205 * seed + 29573) % 139968
  return math.floor(seed * k / 139968)
end

local SCENES, NODES, FRAMES = 200, 240, 12
local dx, dy, rot, vis, first, sibling = {}, {}, {}, {}, {}, {}
local shown, hidden, sumX, sumY, deepest, onScreen, checksum = 0, 0, 0, 0, 0, 0, 0
local minX, maxX, minY, maxY = 0, 0, 0, 0

local function walk(i, px, py, prot, depth)
  if not vis[i] then
    hidden = hidden + 1
    return
  end
  local x, y = dx[i], dy[i]
  local rx, ry
  if prot == 0 then
    rx, ry = x, y
  elseif prot == 1 then
    rx, ry = -y, x
  elseif prot == 2 then
    rx, ry = -x, -y
  else
    rx, ry = y, -x
  end
  local wx, wy = px + rx, py + ry
  local wrot = (prot + rot[i]) % 4
  shown = shown + 1
  sumX = sumX + wx
  sumY = sumY + wy
  if wx < minX then minX = wx end
  if wx > maxX then maxX = wx end
  if wy < minY then minY = wy end
  if wy > maxY then maxY = wy end
  if depth > deepest then deepest = depth end
  if wx >= -40 and wx <= 40 and wy >= -40 and wy <= 40 then onScreen = onScreen + 1 end
  checksum = (checksum * 17 + (wx + 5000) * 3 + wy + 5000) % 1000003
  local c = first[i]
  while c ~= 0 do
    walk(c, wx, wy, wrot, depth + 1)
    c = sibling[c]
  end
end

for scene = 1, SCENES do
  dx[1], dy[1], rot[1], vis[1], first[1], sibling[1] = 0, 0, 0, true, 0, 0
  for i = 2, NODES do
    local back = i - 1
    if back > 6 then back = 6 end
    local p = i - 1 - draw(back)
    dx[i] = draw(41) - 20
    dy[i] = draw(41) - 20
    rot[i] = draw(4)
    vis[i] = draw(30) ~= 0
    first[i] = 0
    sibling[i] = first[p]
    first[p] = i
  end
  for frame = 1, FRAMES do
    rot[1] = frame % 4
    for i = 2, NODES do
      if i % 7 == frame % 7 then rot[i] = (rot[i] + 1) % 4 end
    end
    walk(1, 0, 0, 0, 0)
  end
end
print(shown)
print(hidden)
print(sumX)
print(sumY)
print(minX .. " " .. maxX .. " " .. minY .. " " .. maxY)
print(deepest)
print(onScreen)
print(checksum)
