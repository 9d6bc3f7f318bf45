local N = 20000
local v, value, y = {}, 0, 1
for i = 1, N do
  y = (y * 171) % 30269
  value = value + y % 25 + 1
  v[i] = value
end
local x, places, found, probes = 1, 0, 0, 0
for q = 1, 250000 do
  x = (x * 7141 + 54773) % 259200
  local lo, hi = 1, N
  while lo <= hi do
    local mid = (lo + hi) // 2
    probes = probes + 1
    local w = v[mid]
    if w == x then
      found = found + 1
      lo = mid
      break
    elseif w < x then
      lo = mid + 1
    else
      hi = mid - 1
    end
  end
  places = places + lo
end
print(found)
print(places)
print(probes)
