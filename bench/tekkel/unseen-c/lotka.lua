local alpha, beta, delta, gamma = 1.1, 0.4, 0.1, 0.4
local h, hh = 0.001, 0.0005
local h6 = h / 6
local x, y = 10.0, 10.0
local above, rises = false, 0
for step = 1, 400000 do
  local k1x = x * (alpha - beta * y)
  local k1y = y * (delta * x - gamma)
  local px, py = x + hh * k1x, y + hh * k1y
  local k2x = px * (alpha - beta * py)
  local k2y = py * (delta * px - gamma)
  px, py = x + hh * k2x, y + hh * k2y
  local k3x = px * (alpha - beta * py)
  local k3y = py * (delta * px - gamma)
  px, py = x + h * k3x, y + h * k3y
  local k4x = px * (alpha - beta * py)
  local k4y = py * (delta * px - gamma)
  x = x + h6 * (k1x + 2 * k2x + 2 * k3x + k4x)
  y = y + h6 * (k1y + 2 * k2y + 2 * k3y + k4y)
  if x >= 20 then
    if not above then
      above = true
      rises = rises + 1
    end
  else
    above = false
  end
end
print(string.format("%.15g", x))
print(string.format("%.15g", y))
print(rises)
