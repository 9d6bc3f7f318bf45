local N = 100000
local count
for round = 1, 10 do
  local marked = {}
  count = 0
  for i = 2, N do
    if not marked[i] then
      count = count + 1
      local j = i * i
      while j <= N do
        marked[j] = true
        j = j + i
      end
    end
  end
end
print(count)
