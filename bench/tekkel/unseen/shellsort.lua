local N = 90000
local a, x = {}, 12345
for i = 1, N do
  x = (x * 17364) % 65521
  a[i] = x
end
local moves, h = 0, 1
while h < 30000 do h = h * 3 + 1 end
while h > 0 do
  for i = h + 1, N do
    local key, j = a[i], i
    while j > h and a[j - h] > key do
      a[j] = a[j - h]
      j = j - h
      moves = moves + 1
    end
    a[j] = key
  end
  h = math.floor(h / 3)
end
print(a[1])
print(a[45000])
print(a[N])
print(moves)
