local x, sum, chars = 1, 0, 0
for line = 1, 40000 do
  local s = ""
  for k = 1, 25 do
    x = (x * 1109 + 12345) % 32768
    s = s .. x
    if k < 25 then s = s .. "," end
  end
  chars = chars + #s
  while true do
    local n = tonumber(s:match("^%d+"))
    sum = sum + n
    local rest = #s - #tostring(n) - 1
    if rest < 0 then break end
    s = s:sub(#s - rest + 1)
  end
end
print(sum)
print(chars)
