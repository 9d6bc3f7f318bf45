local sum = 0
for n = 1, 1000000 do
  local m = n
  repeat
    sum = sum + m % 10
    m = m // 10
  until m == 0
end
print(sum)
