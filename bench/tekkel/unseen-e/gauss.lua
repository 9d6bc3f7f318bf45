local n = 12
local m = n + 1
local a, o, x = {}, {}, {}
local seed = 3
local solSum, detSum, worst, swaps = 0.0, 0.0, 0.0, 0
for sys = 1, 5700 do
  for p = 1, n * m do
    seed = (seed * 1366 + 150889) % 714025
    local v = (seed % 2001 - 1000) / 250
    a[p] = v
    o[p] = v
  end
  local det = 1.0
  for k = 1, n do
    local d = (k - 1) * m + k
    local p, best = d, a[d]
    if best < 0 then best = -best end
    for q = d + m, n * m, m do
      local v = a[q]
      if v < 0 then v = -v end
      if v > best then
        best = v
        p = q
      end
    end
    if p ~= d then
      for j = 0, n - k + 1 do
        a[d + j], a[p + j] = a[p + j], a[d + j]
      end
      det = -det
      swaps = swaps + 1
    end
    local pivot = a[d]
    det = det * pivot
    local last = d + n - k + 1
    for q = d + m, n * m, m do
      local f = a[q] / pivot
      local r = q
      for j = d + 1, last do
        r = r + 1
        a[r] = a[r] - f * a[j]
      end
    end
  end
  for i = n, 1, -1 do
    local d = (i - 1) * m + i
    local s = a[i * m]
    for j = 1, n - i do
      s = s - a[d + j] * x[i + j]
    end
    x[i] = s / a[d]
  end
  for i = 1, n do
    solSum = solSum + x[i]
    local row = (i - 1) * m
    local r = o[row + m]
    for j = 1, n do
      r = r - o[row + j] * x[j]
    end
    if r < 0 then r = -r end
    if r > worst then worst = r end
  end
  if det < 0 then det = -det end
  detSum = detSum + det
end
print(string.format("%.15g", solSum))
print(string.format("%.15g", detSum))
print(string.format("%.15g", worst))
print(string.format("%d", swaps))
print(string.format("%.15g", x[1]))
