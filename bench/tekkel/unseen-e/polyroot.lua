local a, r = {}, {}
local seed = 17
local iterations, foundSum, trueSum, worst, lastRoot = 0, 0.0, 0.0, 0.0, 0.0
for poly = 1, 22000 do
  -- six roots at least one apart, and the polynomial with leading coefficient 1 they make
  for i = 1, 6 do
    seed = (seed * 1021 + 25673) % 121500
    r[i] = 3.0 * i - 10.5 + (seed % 1999 - 999) / 1000
    trueSum = trueSum + r[i]
  end
  a[1] = 1.0
  for d = 1, 6 do
    local root = r[d]
    a[d + 1] = a[d]
    for k = d, 2, -1 do
      a[k] = a[k - 1] - root * a[k]
    end
    a[1] = -root * a[1]
  end
  -- Newton's method from above for the largest root, then deflation
  for d = 6, 1, -1 do
    local x = 11.0
    for its = 1, 100 do
      local b, c = a[d + 1], 0.0
      for k = d, 1, -1 do
        c = c * x + b
        b = b * x + a[k]
      end
      local dx = b / c
      x = x - dx
      iterations = iterations + 1
      if dx < 0 then dx = -dx end
      if dx < 1e-12 then break end
    end
    local carry, pending = 0.0, a[d + 1]
    for k = d, 1, -1 do
      local q = pending + x * carry
      pending = a[k]
      a[k] = q
      carry = q
    end
    foundSum = foundSum + x
    local e = x - r[d]
    if e < 0 then e = -e end
    if e > worst then worst = e end
    lastRoot = x
  end
end
print(string.format("%d", iterations))
print(string.format("%.15g", foundSum))
print(string.format("%.15g", trueSum))
print(string.format("%.15g", worst))
print(string.format("%.15g", lastRoot))
