-- An artillery game's aiming, by bisection on the shot's power (see ballistics.tkl).
local seed = 9
local function draw(k)
  seed = (859 * seed + 2531) % 11979
  return math.floor(seed * k / 11979)
end

local COS = {0.8660254037844386, 0.7071067811865476, 0.5}
local SIN = {0.5, 0.7071067811865476, 0.8660254037844386}
local ANGLE = {30, 45, 60}
local TARGETS = 240

local wind, dist, height, low
local steps = 0
local function fly(p, a)
  local vx, vy, x, y = p * COS[a], p * SIN[a], 0, 0
  while true do
    local ax = wind - vx * 0.02
    vx = vx + ax * 0.05
    local ay = -9.81 - vy * 0.02
    vy = vy + ay * 0.05
    x = x + vx * 0.05
    y = y + vy * 0.05
    steps = steps + 1
    if x >= dist then return y - height end
    if vy < 0 and y < low then return -1 end
  end
end

local unreachable, powers = 0, 0
local bestCount = {0, 0, 0}
for t = 1, TARGETS do
  dist = 60 + draw(341)
  height = draw(81) - 20
  low = height - 50
  local w = draw(201) - 100
  wind = w / 50
  if t <= 3 then
    print("target " .. t .. ": distance " .. dist .. ", height " .. height .. ", wind " .. w)
  end
  local best, bestPower = 0, 0
  for a = 1, 3 do
    if fly(150, a) < 0 then
      unreachable = unreachable + 1
      if t <= 3 then print(ANGLE[a] .. " degrees: out of reach") end
    else
      local lo, hi = 5, 150
      for i = 1, 30 do
        local mid = (lo + hi) / 2
        if fly(mid, a) < 0 then lo = mid else hi = mid end
      end
      if t <= 3 then
        print(ANGLE[a] .. " degrees:")
        print(string.format("%.15g", hi))
      end
      if best == 0 or hi < bestPower then best, bestPower = a, hi end
    end
  end
  if best > 0 then
    bestCount[best] = bestCount[best] + 1
    powers = powers + bestPower
  end
end
print("best at 30, 45, 60 degrees: " .. bestCount[1] .. ", " .. bestCount[2] .. ", " .. bestCount[3])
print("out of reach: " .. unreachable)
print(string.format("%.15g", powers))
print(steps)
