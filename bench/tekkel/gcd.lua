local sum = 0
for i = 1, 400 do
  for j = 1, 400 do
    local a, b = i, j
    while b ~= 0 do
      a, b = b, a % b
    end
    sum = sum + a
  end
end
print(sum)
