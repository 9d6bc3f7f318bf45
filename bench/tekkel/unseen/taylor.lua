local total = 0.0
for i = 1, 400000 do
  local x = i * 0.00001
  local term, sum = x, x
  local mx2 = x * x * -1.0
  local n = 1
  for k = 1, 13 do
    local t = term * mx2
    n = n + 1
    t = t / n
    n = n + 1
    t = t / n
    term = t
    sum = sum + term
  end
  total = total + sum
end
print(string.format("%.15g", total))
