local function quot(a, b)
  if a < 0 then return -math.floor(-a / b) end
  return math.floor(a / b)
end
local seed = 7
local function draw(k)
  seed = (seed * 1255 + 6173) % 29282
  return math.floor(seed * k / 29282)
end
local groundY, coin = {}, {}
local h = 3
for c = 0, 63 do
  local step = draw(4)
  if step == 0 and h > 1 then h = h - 1 elseif step == 3 and h < 8 then h = h + 1 end
  groundY[c] = (20 - h) * 256
  coin[c] = c % 3 == 0
end
local x, y, vx, vy, onGround = 128, groundY[0], 0, 0, true
local dir, wantJump, lastCol = 0, false, 0
local landings, hard, bumps, jumps, score, airborne, highest = 0, 0, 0, 0, 0, 0, y
for t = 1, 1000000 do
  if (t - 1) % 8 == 0 then
    local r = draw(12)
    if r < 3 then dir = 0 elseif r < 9 then dir = 1 else dir = -1 end
    wantJump = draw(3) == 0
  end
  if dir == 0 then
    vx = quot(vx * 7, 8)
  else
    vx = vx + dir * 6
    if vx > 64 then vx = 64 elseif vx < -64 then vx = -64 end
  end
  if wantJump and onGround then
    vy = -90
    onGround = false
    wantJump = false
    jumps = jumps + 1
  end
  vy = vy + 5
  if vy > 96 then vy = 96 end
  local nx = x + vx
  if nx < 0 then nx = nx + 16384 elseif nx >= 16384 then nx = nx - 16384 end
  if groundY[math.floor(nx / 256)] < y then
    vx = 0
    bumps = bumps + 1
  else
    x = nx
  end
  local col = math.floor(x / 256)
  local ny = y + vy
  if ny >= groundY[col] then
    y = groundY[col]
    if not onGround then
      onGround = true
      landings = landings + 1
      if vy > 80 then hard = hard + 1 end
    end
    vy = 0
  else
    y = ny
    onGround = false
    airborne = airborne + 1
    if y < highest then highest = y end
  end
  if col ~= lastCol then
    lastCol = col
    if not onGround and coin[col] then
      coin[col] = false
      score = score + 10
    end
  end
  if t % 4096 == 0 then
    for c = 0, 63 do coin[c] = c % 3 == 0 end
  end
end
print(string.format("%d", x))
print(string.format("%d", y))
print(string.format("%d", vx))
print(string.format("%d", landings))
print(string.format("%d", hard))
print(string.format("%d", bumps))
print(string.format("%d", jumps))
print(string.format("%d", score))
print(string.format("%d", airborne))
print(string.format("%d", highest))
