local sum, longest, at = 0, 0, 0
for m = 2, 3600 do
  local a, b, k = 0, 1, 0
  repeat
    local c = a + b
    if c >= m then c = c - m end
    a, b = b, c
    k = k + 1
  until a == 0 and b == 1
  sum = sum + k
  if k > longest then
    longest, at = k, m
  end
end
print(sum)
print(longest)
print(at)
