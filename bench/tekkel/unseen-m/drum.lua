-- A drum skin of 16 x 16 points on springs, struck twice and left to ring (see drum.tkl).
local N, STEPS = 16, 8000
local h, v = {}, {}
for i = 1, N * N do
  h[i] = 0.0
  v[i] = 0.0
end
v[5 * N + 6 + 1] = -3.0
v[10 * N + 9 + 1] = 2.0
local centre = 8 * N + 8 + 1

local crossings, below = 0, false
for step = 1, STEPS do
  for y = 1, N - 2 do
    for x = 1, N - 2 do
      local i = y * N + x + 1
      local s = h[i - N] + h[i + N]
      s = s + h[i - 1]
      s = s + h[i + 1]
      s = s - h[i] * 4.0
      local a = s * 40.0 - v[i] * 0.02
      v[i] = v[i] + a * 0.02
    end
  end
  for y = 1, N - 2 do
    for x = 1, N - 2 do
      local i = y * N + x + 1
      h[i] = h[i] + v[i] * 0.02
    end
  end
  if h[centre] < 0 then
    below = true
  elseif below then
    below = false
    crossings = crossings + 1
  end
  if step % 1000 == 0 then
    local sumH, sumV2 = 0.0, 0.0
    for i = 1, N * N do
      sumH = sumH + h[i]
      sumV2 = sumV2 + v[i] * v[i]
    end
    print("step " .. step)
    print(string.format("%.15g", sumH))
    print(string.format("%.15g", sumV2))
    print(string.format("%.15g", h[centre]))
  end
end
local peak, peakAt = 0.0, 0
for i = 1, N * N do
  local a = h[i]
  if a < 0 then a = -a end
  if a > peak then
    peak, peakAt = a, i
  end
end
print(crossings)
print(string.format("%.15g", peak))
print("at " .. math.floor((peakAt - 1) / N) .. ", " .. (peakAt - 1) % N)
