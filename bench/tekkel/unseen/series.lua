local k, sum = 0, 0.0
repeat
  k = k + 1
  sum = sum + 1.0 / (k * k)
until k >= 4000000
print(string.format("%.15g", sum))
