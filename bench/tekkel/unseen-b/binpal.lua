local palindromes, chars, largest = 0, 0, ""
for n = 1, 60000 do
  local m, s, r = n, "", ""
  repeat
    local bit = m % 2
    m = m // 2
    s = bit .. s
    r = r .. bit
  until m == 0
  chars = chars + #s
  if s == r then
    palindromes = palindromes + 1
    largest = s
  end
end
print(palindromes)
print(chars)
print(largest)
