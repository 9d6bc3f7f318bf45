local count = {}
for b = 1, 32 do count[b] = 0 end
local x, rises = 7, 0
for i = 1, 3000000 do
  local prev = x
  x = (x * 1105 + 12345) % 65536
  local b = x // 2048 + 1
  count[b] = count[b] + 1
  if prev < x then rises = rises + 1 end
end
local least, most, squares, chi = count[1], count[1], 0, 0.0
for b = 1, 32 do
  local c = count[b]
  if c < least then least = c end
  if c > most then most = c end
  squares = squares + c * c
  local d = c - 93750
  chi = chi + d * d / 93750.0
end
print(squares)
print(least)
print(most)
print(string.format("%.15g", chi))
print(rises)
