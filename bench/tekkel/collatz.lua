local steps = 0
for n = 1, 30000 do
  local x = n
  while x ~= 1 do
    steps = steps + 1
    if x % 2 == 1 then
      x = x * 3 + 1
    else
      x = x // 2
    end
  end
end
print(steps)
