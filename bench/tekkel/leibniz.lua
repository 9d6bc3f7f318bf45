local sum, s = 0.0, 4.0
for k = 0, 3000000 - 1 do
  sum = sum + s / (2 * k + 1)
  s = -s
end
print(string.format("%.15g", sum))
