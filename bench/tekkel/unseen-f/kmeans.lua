local gx = {10.0, 30.0, 50.0, 20.0, 45.0}
local gy = {10.0, 40.0, 15.0, 25.0, 40.0}
local N, K = 1500, 6
local px, py, own = {}, {}, {}
local cx, cy, sx, sy, cnt = {}, {}, {}, {}, {}
local x = 99
local iterations, total = 0, 0.0
for round = 1, 32 do
  for i = 1, N do
    x = (x * 1597 + 51749) % 244944
    local g = math.floor(x * 5 / 244944) + 1
    x = (x * 1597 + 51749) % 244944
    px[i] = gx[g] + (x % 2001 - 1000) / 250
    x = (x * 1597 + 51749) % 244944
    py[i] = gy[g] + (x % 2001 - 1000) / 250
    own[i] = 0
  end
  for c = 1, K do
    cx[c], cy[c] = px[c], py[c]
  end
  local sse = 0.0
  for it = 1, 40 do
    iterations = iterations + 1
    local changed = 0
    sse = 0.0
    for c = 1, K do
      sx[c], sy[c], cnt[c] = 0.0, 0.0, 0
    end
    for i = 1, N do
      local p, q = px[i], py[i]
      local best, bestD = 0, 1000000.0
      for c = 1, K do
        local dx = p - cx[c]
        local dy = q - cy[c]
        local d = dx * dx + dy * dy
        if d < bestD then best, bestD = c, d end
      end
      if own[i] ~= best then
        own[i] = best
        changed = changed + 1
      end
      sse = sse + bestD
      sx[best] = sx[best] + p
      sy[best] = sy[best] + q
      cnt[best] = cnt[best] + 1
    end
    if changed == 0 then break end
    for c = 1, K do
      if cnt[c] > 0 then
        cx[c] = sx[c] / cnt[c]
        cy[c] = sy[c] / cnt[c]
      end
    end
  end
  total = total + sse
end
print(iterations)
print(string.format("%.15g", total))
for c = 1, K do
  print(string.format("%.15g", cx[c]))
  print(string.format("%.15g", cy[c]))
  print(cnt[c])
end
