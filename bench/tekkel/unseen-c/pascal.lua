local moduli = {2, 3, 5, 7, 11, 13, 17, 19}
local row = {}
for k = 1, 8 do
  local m = moduli[k]
  for j = 1, 1000 do row[j] = 0 end
  row[1] = 1
  local count = 1
  for i = 1, 999 do
    local prev = 0
    for j = 1, i + 1 do
      local cur = row[j]
      local v = (cur + prev) % m
      row[j] = v
      if v ~= 0 then count = count + 1 end
      prev = cur
    end
  end
  print(count)
end
