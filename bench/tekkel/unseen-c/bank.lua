local balance = {}
for a = 1, 8 do balance[a] = 1000 end
local deposits, withdrawals, bounces, transfers, same, fees, taxes = 0, 0, 0, 0, 0, 0, 0
local x = 5
for t = 1, 1000000 do
  x = (x * 1366 + 150889) % 714025
  local kind = x % 10
  local a = x // 10 % 8 + 1
  x = (x * 1366 + 150889) % 714025
  local b = x // 600 % 8 + 1
  local amount = x % 600 + 1
  if kind < 3 then
    balance[a] = balance[a] + amount
    deposits = deposits + 1
  elseif kind < 7 then
    if balance[a] >= amount then
      balance[a] = balance[a] - amount
      withdrawals = withdrawals + 1
    else
      if balance[a] >= 25 then
        balance[a] = balance[a] - 25
        fees = fees + 25
      end
      bounces = bounces + 1
    end
  elseif kind < 9 then
    if a == b then
      same = same + 1
    elseif balance[a] >= amount then
      balance[a] = balance[a] - amount
      balance[b] = balance[b] + amount
      transfers = transfers + 1
    else
      bounces = bounces + 1
    end
  else
    if balance[a] > 2000 then
      local tax = balance[a] // 10
      balance[a] = balance[a] - tax
      taxes = taxes + tax
    else
      balance[a] = balance[a] + 1
    end
  end
end
local total = 0
for a = 1, 8 do total = total + balance[a] end
print(total)
print(deposits)
print(withdrawals)
print(bounces)
print(transfers)
print(same)
print(fees)
print(taxes)
