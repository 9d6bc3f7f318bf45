local n = 1200
local len = math.floor(10 * n / 3) + 1
local a = {}
for i = 1, len do a[i] = 2 end
local nines, predigit, sum = 0, 0, 0
local digits = ""
for j = 1, n do
  local q = 0
  for i = len, 1, -1 do
    local x = 10 * a[i] + q * i
    local d = 2 * i - 1
    q = math.floor(x / d)
    a[i] = x - q * d
  end
  a[1] = q % 10
  q = math.floor(q / 10)
  if q == 9 then
    nines = nines + 1
  elseif q == 10 then
    digits = digits .. (predigit + 1)
    sum = sum + predigit + 1
    for k = 1, nines do digits = digits .. 0 end
    predigit, nines = 0, 0
  else
    digits = digits .. predigit
    sum = sum + predigit
    predigit = q
    for k = 1, nines do digits = digits .. 9 end
    sum = sum + 9 * nines
    nines = 0
  end
end
digits = digits .. predigit
sum = sum + predigit
digits = digits:sub(2)
print(#digits)
print(sum)
for k = 1, #digits, 100 do print(digits:sub(k, k + 99)) end
