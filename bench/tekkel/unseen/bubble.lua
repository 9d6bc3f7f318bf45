local a, x = {}, 7
for i = 1, 2400 do
  x = (x * 171) % 30269
  a[i] = x
end
local swaps = 0
for e = 2400, 2, -1 do
  for i = 1, e - 1 do
    if a[i] > a[i + 1] then
      a[i], a[i + 1] = a[i + 1], a[i]
      swaps = swaps + 1
    end
  end
end
print(a[1])
print(a[2400])
print(swaps)
