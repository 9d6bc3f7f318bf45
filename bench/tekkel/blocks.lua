local sum = 0
for r = 0, 100000 - 1 do
  local block = {r, 7, 1}
  sum = sum + block[1]
  sum = sum + block[2]
  sum = sum + block[3]
  block = nil
end
local shared = {}
for i = 1, 1000 do shared[i] = i end
for round = 1, 300 do
  for i = 2, 1000 do
    shared[i] = (shared[i] + shared[i - 1]) % 1000
  end
end
print(sum)
print(shared[1000])
