local b0, b1, b2 = 0.0046039985, 0.009207997, 0.0046039985
local a1, a2 = -1.7990964095, 0.8175124034
local x1, x2, y1, y2 = 0.0, 0.0, 0.0, 0.0
local dx1, dy1 = 0.0, 0.0
local phase, env, envTop = 0.0, 0.0, 0.0
local energy, peak, crossings, last = 0.0, 0.0, 0, 0.0
local seed = 5
for n = 1, 900000 do
  phase = phase + 0.0123
  if phase >= 1.0 then phase = phase - 1.0 end
  seed = (seed * 3613 + 45289) % 214326
  local x = 0.6 * (phase * 2.0 - 1.0) + (seed % 2001 - 1000) / 4000
  local y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2
  x2, x1 = x1, x
  y2, y1 = y1, y
  local z = y - dx1 + 0.995 * dy1
  dx1, dy1 = y, z
  local a = z
  if a < 0 then a = -a end
  if a > env then
    env = env + (a - env) * 0.05
  else
    env = env + (a - env) * 0.001
  end
  if env > envTop then envTop = env end
  if a > peak then peak = a end
  energy = energy + z * z
  if (z < 0) ~= (last < 0) then crossings = crossings + 1 end
  last = z
end
print(string.format("%.15g", energy))
print(string.format("%.15g", peak))
print(string.format("%d", crossings))
print(string.format("%.15g", env))
print(string.format("%.15g", envTop))
print(string.format("%.15g", last))
