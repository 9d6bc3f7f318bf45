local principal = 10000.0
local interestSum, paidSum, heavy = 0.0, 0.0, 0
for k = 1, 280 do
  local i = k * 0.0004 / 12
  local g = 1.0 + i
  for n = 6, 360, 6 do
    local f = 1.0
    for m = 1, n do f = f * g end
    local pay = principal * i * f / (f - 1.0)
    local balance = principal
    for m = 1, n do
      local interest = balance * i
      local repaid = pay - interest
      if interest > repaid then heavy = heavy + 1 end
      balance = balance - repaid
      interestSum = interestSum + interest
    end
    paidSum = paidSum + pay * n
  end
end
print(string.format("%.15g", interestSum))
print(string.format("%.15g", paidSum))
print(heavy)
