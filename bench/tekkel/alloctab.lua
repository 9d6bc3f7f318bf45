local maps = {}
for m = 1, 8 do
  local t = {}
  for i = 1, 100 do t[i] = m * 1000 + i end
  maps[m] = t
end
local sum = 0
for r = 1, 1500 do
  for m = 1, 8 do
    local t = maps[m]
    for i = 1, 100 do
      sum = sum + t[i]
      t[i] = t[i] + m
    end
  end
end
print(sum)
