local values = {1000, 900, 500, 400, 100, 90, 50, 40, 10, 9, 5, 4, 1}
local symbols = {"M", "CM", "D", "CD", "C", "XC", "L", "XL", "X", "IX", "V", "IV", "I"}
local x = 7
local sum, chars, nines, wrong = 0, 0, 0, 0
local longest = ""
for k = 1, 60000 do
  x = (x * 3125 + 49) % 65536
  local n = x % 3999 + 1
  local s, rest = "", n
  for i = 1, 13 do
    local v = values[i]
    while rest >= v do
      s = s .. symbols[i]
      rest = rest - v
    end
  end
  chars = chars + #s
  if #longest < #s then longest = s end
  if s:sub(-2) == "IX" then nines = nines + 1 end
  local total, prev = 0, 0
  repeat
    local c = s:sub(1, 1)
    local v
    if c == "M" then v = 1000
    elseif c == "D" then v = 500
    elseif c == "C" then v = 100
    elseif c == "L" then v = 50
    elseif c == "X" then v = 10
    elseif c == "V" then v = 5
    else v = 1 end
    total = total + v
    if prev < v then total = total - 2 * prev end
    prev = v
    s = s:sub(2)
  until s == ""
  if total ~= n then wrong = wrong + 1 end
  sum = sum + total
end
print(sum)
print(chars)
print(nines)
print(wrong)
print(longest)
