local h = {}
local n = 0
local x = 3
for k = 1, 1000 do
  x = (x * 1366 + 150889) % 714025
  local t = x % 1000
  n = n + 1
  local i = n
  while i > 1 do
    local p = math.floor(i / 2)
    if h[p] <= t then break end
    h[i] = h[p]
    i = p
  end
  h[i] = t
end
local check = 0
for e = 1, 300000 do
  local first = h[1]
  check = (check * 31 + first) % 1000003
  x = (x * 1366 + 150889) % 714025
  local t = first + x % 1000 + 1
  local i = 1
  while true do
    local c = i + i
    if c > n then break end
    local hc = h[c]
    if c < n and h[c + 1] < hc then
      c = c + 1
      hc = h[c]
    end
    if hc >= t then break end
    h[i] = hc
    i = c
  end
  h[i] = t
end
print(check)
print(h[1])
print(h[1000])
