local syllables = {"ra", "ar", "ka", "ak", "a", "d", "ada", "r"}
local x = 9
local palindromes, as = 0, 0
local greatest, longest = "", ""
for n = 1, 150000 do
  x = (x * 17364 + 12345) % 65521
  local w = ""
  for s = 1, x % 3 + 2 do
    x = (x * 17364 + 12345) % 65521
    w = w .. syllables[x % 8 + 1]
  end
  local mirror, rest = "", w
  repeat
    local c = rest:sub(-1)
    mirror = mirror .. c
    if c == "a" then as = as + 1 end
    rest = rest:sub(1, -2)
  until rest == ""
  if mirror == w then
    palindromes = palindromes + 1
    if #longest < #w then longest = w end
  end
  if greatest < mirror then greatest = mirror end
end
print(palindromes)
print(as)
print(longest)
print(greatest)
