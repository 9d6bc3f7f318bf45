local C = 5000
local best = {}
local x = 7
local sum = 0
for round = 1, 30 do
  for j = 1, C + 1 do best[j] = 0 end
  for item = 1, 40 do
    x = (x * 1103 + 12345) % 65521
    local w = x % 200 + 20
    x = (x * 1103 + 12345) % 65521
    local v = x % 500 + 10
    for j = C + 1, w + 1, -1 do
      local cand = best[j - w] + v
      if best[j] < cand then best[j] = cand end
    end
  end
  sum = sum + best[C + 1]
end
print(sum)
print(best[C + 1])
