local faces = {4, 6, 8, 10, 12, 20}
local D, PAD = 140, 21
for _, f in ipairs(faces) do
  local prev, cur = {}, {}
  for i = 1, PAD + 2800 do
    prev[i] = 0.0
    cur[i] = 0.0
  end
  prev[PAD] = 1.0
  for n = 1, D do
    for s = 0, n * f do
      local acc = 0.0
      for i = PAD + s - 1, PAD + s - f, -1 do
        acc = acc + prev[i]
      end
      cur[PAD + s] = acc / f
    end
    prev, cur = cur, prev
  end
  local mean = 0.0
  for s = 0, D * f do
    mean = mean + s * prev[PAD + s]
  end
  print(string.format("%.15g", mean))
  print(string.format("%.15g", prev[PAD + 70 * (f + 1)]))
end
