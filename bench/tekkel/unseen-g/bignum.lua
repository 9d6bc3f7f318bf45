local limbs, len = {1}, 1
for n = 2, 4000 do
  local carry = 0
  for i = 1, len do
    local t = limbs[i] * n + carry
    carry = math.floor(t / 10000)
    limbs[i] = t % 10000
  end
  while carry > 0 do
    len = len + 1
    limbs[len] = carry % 10000
    carry = math.floor(carry / 10000)
  end
  if n % 500 == 0 then
    local parts = {string.format("%d", limbs[len])}
    for i = len - 1, 1, -1 do
      parts[#parts + 1] = string.format("%04d", limbs[i])
    end
    local text = table.concat(parts)
    local digitsum = 0
    for i = 1, len do
      local l = limbs[i]
      while l > 0 do
        digitsum = digitsum + l % 10
        l = math.floor(l / 10)
      end
    end
    local zeros, i = 0, 1
    while limbs[i] == 0 do
      zeros = zeros + 4
      i = i + 1
    end
    local l = limbs[i]
    while l % 10 == 0 do
      zeros = zeros + 1
      l = math.floor(l / 10)
    end
    print(string.format("%d! has %d digits, digit sum %d, %d zeros at the end, begins %s",
      n, #text, digitsum, zeros, text:sub(1, 24)))
  end
end
print(len)
