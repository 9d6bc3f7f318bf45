local n = 1500000
local function report(v) print(string.format("%.15g", v)) end

-- 1/(1 + x*x) on [0, 1], times 4
local a, b = 0.0, 1.0
local h = (b - a) / n
local s4, s2 = 0.0, 0.0
for i = 1, n - 1, 2 do
  local x = a + i * h
  s4 = s4 + 1.0 / (x * x + 1.0)
end
for i = 2, n - 2, 2 do
  local x = a + i * h
  s2 = s2 + 1.0 / (x * x + 1.0)
end
local fa, fb = 1.0 / (a * a + 1.0), 1.0 / (b * b + 1.0)
report(h / 3 * (fa + fb + 4 * s4 + 2 * s2) * 4)

-- x^4 - 2x^2 + 3 on [-1, 2]
a, b = -1.0, 2.0
h = (b - a) / n
s4, s2 = 0.0, 0.0
for i = 1, n - 1, 2 do
  local x = a + i * h
  local x2 = x * x
  s4 = s4 + (x2 * x2 - 2 * x2 + 3)
end
for i = 2, n - 2, 2 do
  local x = a + i * h
  local x2 = x * x
  s2 = s2 + (x2 * x2 - 2 * x2 + 3)
end
local a2, b2 = a * a, b * b
fa, fb = a2 * a2 - 2 * a2 + 3, b2 * b2 - 2 * b2 + 3
report(h / 3 * (fa + fb + 4 * s4 + 2 * s2))

-- 1/x on [1, 3]
a, b = 1.0, 3.0
h = (b - a) / n
s4, s2 = 0.0, 0.0
for i = 1, n - 1, 2 do
  local x = a + i * h
  s4 = s4 + 1.0 / x
end
for i = 2, n - 2, 2 do
  local x = a + i * h
  s2 = s2 + 1.0 / x
end
fa, fb = 1.0 / a, 1.0 / b
report(h / 3 * (fa + fb + 4 * s4 + 2 * s2))
