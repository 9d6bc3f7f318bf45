local count, sum = 1, 2
local n = 1
while true do
  n = n + 2
  if n >= 330000 then break end
  local d, prime = 3, true
  while d * d <= n do
    if n % d == 0 then
      prime = false
      break
    end
    d = d + 2
  end
  if prime then
    count = count + 1
    sum = sum + n
  end
end
print(count)
print(sum)
