local bases = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29}
local probable, liars, fooled, largest = 0, 0, 0, 0
for n = 31, 46339, 2 do
  local d, s = n - 1, 0
  while d % 2 == 0 do
    d = d // 2
    s = s + 1
  end
  local passed = 0
  for b = 1, 10 do
    local a, e, x = bases[b], d, 1
    while e > 0 do
      if e % 2 == 1 then x = x * a % n end
      a = a * a % n
      e = e // 2
    end
    local strong = x == 1 or x == n - 1
    local r = 1
    while not strong and r < s do
      x = x * x % n
      if x == n - 1 then strong = true end
      r = r + 1
    end
    if strong then passed = passed + 1 end
  end
  if passed == 10 then
    probable = probable + 1
    largest = n
  elseif passed > 0 then
    liars = liars + passed
    fooled = fooled + 1
  end
end
print(probable)
print(liars)
print(fooled)
print(largest)
