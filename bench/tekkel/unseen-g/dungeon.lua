local W, H = 64, 40
local seed = 2024
local function draw(k)
  seed = (seed * 1597 + 51749) % 244944
  return math.floor(seed * k / 244944)
end

local rooms, floor, corridor, doors, outline = 0, 0, 0, 0, 0
local row
for d = 1, 800 do
  local map = {}
  for i = 1, W * H do map[i] = 0 end
  local rect = {}
  for try = 1, 40 do
    local w = 4 + draw(9)
    local h = 3 + draw(6)
    local x = 1 + draw(W - w - 2)
    local y = 1 + draw(H - h - 2)
    local free = true
    for _, r in ipairs(rect) do
      if x <= r.x + r.w and r.x <= x + w and y <= r.y + r.h and r.y <= y + h then
        free = false
        break
      end
    end
    if free then
      rect[#rect + 1] = {x = x, y = y, w = w, h = h}
      for yy = y, y + h - 1 do
        for xx = x, x + w - 1 do
          map[yy * W + xx + 1] = 1
        end
      end
      if #rect == 12 then break end
    end
  end
  rooms = rooms + #rect
  for i = 2, #rect do
    local a, b = rect[i - 1], rect[i]
    local x, y = a.x + math.floor(a.w / 2), a.y + math.floor(a.h / 2)
    local tx, ty = b.x + math.floor(b.w / 2), b.y + math.floor(b.h / 2)
    local horizontal = draw(2) == 0
    for leg = 1, 2 do
      if horizontal then
        local step = tx > x and 1 or -1
        while true do
          if map[y * W + x + 1] == 0 then map[y * W + x + 1] = 2 end
          if x == tx then break end
          x = x + step
        end
      else
        local step = ty > y and 1 or -1
        while true do
          if map[y * W + x + 1] == 0 then map[y * W + x + 1] = 2 end
          if y == ty then break end
          y = y + step
        end
      end
      horizontal = not horizontal
    end
  end
  for y = 1, H - 2 do
    for x = 1, W - 2 do
      local i = y * W + x + 1
      local v = map[i]
      if v == 1 then
        floor = floor + 1
      elseif v == 2 then
        corridor = corridor + 1
        if map[i - 1] == 1 or map[i + 1] == 1 or map[i - W] == 1 or map[i + W] == 1 then
          doors = doors + 1
        end
      elseif map[i - 1] ~= 0 or map[i + 1] ~= 0 or map[i - W] ~= 0 or map[i + W] ~= 0 then
        outline = outline + 1
      end
    end
  end
  row = ""
  for x = 0, W - 1 do
    local v = map[20 * W + x + 1]
    if v == 0 then
      row = row .. "#"
    elseif v == 1 then
      row = row .. "."
    else
      row = row .. ","
    end
  end
end
print(rooms)
print(floor)
print(corridor)
print(doors)
print(outline)
print(row)
