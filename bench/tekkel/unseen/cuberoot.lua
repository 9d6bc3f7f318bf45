local sum = 0.0
for a = 1, 120000 do
  local x = 1.0
  for step = 1, 30 do
    local sq = x * x
    x = (x * 2.0 + a / sq) / 3.0
  end
  sum = sum + x
end
print(string.format("%.15g", sum))
