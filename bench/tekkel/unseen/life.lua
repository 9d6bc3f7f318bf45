local cur, nxt = {}, {}
for i = 1, 1764 do
  cur[i] = 0
  nxt[i] = 0
end
local x, p = 1, 44
for row = 1, 40 do
  for col = 1, 40 do
    x = (x * 421 + 1663) % 7875
    if x < 2625 then cur[p] = 1 end
    p = p + 1
  end
  p = p + 2
end
local births = 0
for gen = 1, 800 do
  p = 44
  for row = 1, 40 do
    for col = 1, 40 do
      local up, down = p - 42, p + 42
      local n = cur[up - 1] + cur[up] + cur[up + 1] + cur[p - 1] + cur[p + 1]
              + cur[down - 1] + cur[down] + cur[down + 1]
      local now = cur[p]
      if n == 3 or (n == 2 and now == 1) then
        nxt[p] = 1
        if now == 0 then births = births + 1 end
      else
        nxt[p] = 0
      end
      p = p + 1
    end
    p = p + 2
  end
  for i = 1, 1764 do cur[i] = nxt[i] end
end
local live = 0
for i = 1, 1764 do live = live + cur[i] end
print(live)
print(births)
