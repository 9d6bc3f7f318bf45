local fridays, christmases, leapDays, mismatches, check = 0, 0, 0, 0, 0
local last
for z = 0, 438290 do
  local era, doe = z // 146097, z % 146097
  local yoe = (doe - doe // 1460 + doe // 36524 - doe // 146096) // 365
  local doy = doe - (365 * yoe + yoe // 4 - yoe // 100)
  local mp = (5 * doy + 2) // 153
  local d = doy - (153 * mp + 2) // 5 + 1
  local m
  if mp < 10 then m = mp + 3 else m = mp - 9 end
  local y = era * 400 + yoe + 1600
  if m < 3 then y = y + 1 end
  local zm, zy = m, y
  if zm < 3 then
    zm = zm + 12
    zy = zy - 1
  end
  local k, j = zy % 100, zy // 100
  local h = (d + 13 * (zm + 1) // 5 + k + k // 4 + j // 4 + 5 * j) % 7
  if h ~= (z + 4) % 7 then mismatches = mismatches + 1 end
  if d == 13 and h == 6 then fridays = fridays + 1 end
  if m == 12 and d == 25 and h < 2 then christmases = christmases + 1 end
  if d == 29 and m == 2 then leapDays = leapDays + 1 end
  check = (check * 31 + y * 10000 + m * 100 + d) % 1000003
  last = y * 10000 + m * 100 + d
end
print(fridays)
print(christmases)
print(leapDays)
print(mismatches)
print(check)
print(last)
