local N = 40
local a, b, c = {}, {}, {}
for i = 1, N do
  for j = 1, N do
    a[(i - 1) * N + j] = ((i * 7 + j * 3) % 11 - 5) / 3.0
  end
end
local trace, total = 0.0, 0.0
for round = 1, 90 do
  for k = 1, N do
    for j = 1, N do
      b[(k - 1) * N + j] = ((k * j + round) % 13 - 6) / 7.0
    end
  end
  for i = 1, N do
    local row = (i - 1) * N
    for j = 1, N do
      local s = 0.0
      local ai, bk = row + 1, j
      for k = 1, N do
        s = s + a[ai] * b[bk]
        ai = ai + 1
        bk = bk + N
      end
      c[row + j] = s
      total = total + s
      if i == j then trace = trace + s end
    end
  end
end
print(string.format("%.15g", trace))
print(string.format("%.15g", total))
print(string.format("%.15g", c[1]))
print(string.format("%.15g", c[N * N]))
