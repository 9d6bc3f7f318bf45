local s = ""
for i = 0, 39 do s = s .. "the cat sat on the mat at " .. i end
local n, found = #s, 0
for r = 1, 1500 do
  for k = n, 3, -1 do
    if s:sub(n - k + 1, n - k + 3) == "at " then found = found + 1 end
  end
end
print(found)
