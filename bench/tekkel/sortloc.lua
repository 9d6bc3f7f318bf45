local a, x = {}, 1
for i = 1, 6000 do
  x = (x * 75 + 74) % 65537
  a[i] = x
end
for i = 2, 6000 do
  local key, j = a[i], i - 1
  while j > 0 and key < a[j] do
    a[j + 1] = a[j]
    j = j - 1
  end
  a[j + 1] = key
end
print(a[1])
print(a[3000])
print(a[6000])
