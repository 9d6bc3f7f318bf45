-- a star system in 64-bit reals: a sun, four planets and a comet pulling on each other
-- (gravity with G = 1), stepped by leapfrog; distances by Newton's square root warm-started
-- from the step before
local n = 6
local x = {0, 12, 20, 33, 50, 70}
local y = {0, 0, 0, 0, 0, 0}
local vx = {0, 0, 0, 0, 0, -1.5}
local vy = {0, 0, 0, 0, 0, 0.9}
local m = {1000, 0.5, 2, 1.2, 6, 0.01}
local ax, ay = {}, {}
local last = {}

local function root(v, guess)
  local r = guess
  for k = 1, 5 do r = 0.5 * (r + v / r) end
  return r
end

-- circular speeds round the sun for the planets
for i = 2, 5 do vy[i] = root(m[1] / x[i], 5) end
for k = 1, 15 do last[k] = 10 end

local function pull()
  for i = 1, n do
    ax[i] = 0
    ay[i] = 0
  end
  local k = 0
  for i = 1, n - 1 do
    for j = i + 1, n do
      k = k + 1
      local dx = x[j] - x[i]
      local dy = y[j] - y[i]
      local r2 = dx * dx + dy * dy + 0.01
      local r = root(r2, last[k])
      last[k] = r
      local inv = 1 / (r2 * r)
      ax[i] = ax[i] + m[j] * dx * inv
      ay[i] = ay[i] + m[j] * dy * inv
      ax[j] = ax[j] - m[i] * dx * inv
      ay[j] = ay[j] - m[i] * dy * inv
    end
  end
end

local dt = 0.01
local half = dt / 2
local orbits, closest, farthest = 0, 1e9, 0
pull()
for step = 1, 37000 do
  for i = 1, n do
    vx[i] = vx[i] + ax[i] * half
    vy[i] = vy[i] + ay[i] * half
  end
  local before = y[2] - y[1]
  for i = 1, n do
    x[i] = x[i] + vx[i] * dt
    y[i] = y[i] + vy[i] * dt
  end
  pull()
  for i = 1, n do
    vx[i] = vx[i] + ax[i] * half
    vy[i] = vy[i] + ay[i] * half
  end
  if before < 0 and y[2] - y[1] >= 0 then orbits = orbits + 1 end
  local d = last[5]
  if d - closest < 0 then closest = d end
  if d - farthest > 0 then farthest = d end
end
local energy = 0
for i = 1, n do energy = energy + 0.5 * m[i] * (vx[i] * vx[i] + vy[i] * vy[i]) end
local k = 0
for i = 1, n - 1 do
  for j = i + 1, n do
    k = k + 1
    energy = energy - m[i] * m[j] / last[k]
  end
end
print(orbits)
print(string.format("%.15g", closest))
print(string.format("%.15g", farthest))
print(string.format("%.15g", energy))
print(string.format("%.15g", x[2]))
print(string.format("%.15g", y[2]))
print(string.format("%.15g", x[6]))
print(string.format("%.15g", y[6]))
