local atan = {51472, 30386, 16055, 8150, 4091, 2047, 1024, 512, 256, 128, 64, 32, 16, 8, 4, 2}
local pow = {}
local p = 1
for i = 1, 16 do
  pow[i] = p
  p = p * 2
end
local floor, ceil = math.floor, math.ceil
local sumC, sumS, errSum, errMax, c1, s1 = 0, 0, 0, 0, 0, 0
for k = 0, 99999 do
  local a = 2 * k - 100000
  local x, y, z = 39797, 0, a
  for i = 1, 16 do
    local dx, dy = x / pow[i], y / pow[i]
    if dx < 0 then dx = ceil(dx) else dx = floor(dx) end
    if dy < 0 then dy = ceil(dy) else dy = floor(dy) end
    if z >= 0 then
      x, y, z = x - dy, y + dx, z - atan[i]
    else
      x, y, z = x + dy, y - dx, z + atan[i]
    end
  end
  sumC = sumC + x
  sumS = sumS + y
  if a == 65536 then c1, s1 = x, y end
  z = 0
  for i = 1, 16 do
    local dx, dy = x / pow[i], y / pow[i]
    if dx < 0 then dx = ceil(dx) else dx = floor(dx) end
    if dy < 0 then dy = ceil(dy) else dy = floor(dy) end
    if y < 0 then
      x, y, z = x - dy, y + dx, z - atan[i]
    else
      x, y, z = x + dy, y - dx, z + atan[i]
    end
  end
  local e = z - a
  if e < 0 then e = -e end
  errSum = errSum + e
  if e > errMax then errMax = e end
end
print(string.format("%d", sumC))
print(string.format("%d", sumS))
print(errSum)
print(errMax)
print(c1)
print(s1)
