local y, v = {}, {}
for i = 0, 17 do y[i] = 0.0 end
for i = 1, 16 do v[i] = 0.0 end
local lowest, lowStep = 0.0, 0
for step = 1, 64000 do
  local p = (step - 1) // 4000 + 1
  for i = 1, 16 do
    local a = (y[i - 1] + y[i + 1] - 2.0 * y[i]) * 40.0 - v[i] * 1.5 - 9.81
    if i == p then a = a - 25.0 end
    v[i] = v[i] + a * 0.01
  end
  for i = 1, 16 do
    local h = y[i] + v[i] * 0.01
    y[i] = h
    if h < lowest then
      lowest = h
      lowStep = step
    end
  end
end
local sum = 0.0
for i = 1, 16 do sum = sum + y[i] end
print(string.format("%.15g", lowest))
print(lowStep)
print(string.format("%.15g", y[8]))
print(string.format("%.15g", sum))
