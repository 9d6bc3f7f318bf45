local K, s = 200, {}
for p = 1, K do
  local b = 4 * (p - 1)
  s[b + 1] = (p * 29 % 41 - 20) / 4.0
  s[b + 2] = p * 37 % 300 + 10.5
  s[b + 3] = p * 13 % 17 / 2.0
  s[b + 4] = p * 53 % 150 + 50.25
end
local walls, floors = 0, 0
for step = 1, 10000 do
  for b = 0, 4 * K - 1, 4 do
    local vx = s[b + 1] * 0.9999
    s[b + 1] = vx
    local x = s[b + 2] + vx * 0.05
    if x < 0 then
      x = -x
      s[b + 1] = -vx
      walls = walls + 1
    elseif x > 320.0 then
      x = 640.0 - x
      s[b + 1] = -vx
      walls = walls + 1
    end
    s[b + 2] = x
    local vy = s[b + 3] - 0.4905
    local y = s[b + 4] + vy * 0.05
    if y < 0 then
      y = -y
      vy = vy * -0.8
      floors = floors + 1
    end
    s[b + 3] = vy
    s[b + 4] = y
  end
end
local sx, sy = 0.0, 0.0
for b = 0, 4 * K - 1, 4 do
  sx = sx + s[b + 2]
  sy = sy + s[b + 4]
end
print(walls)
print(floors)
print(string.format("%.15g", sx))
print(string.format("%.15g", sy))
