local s, total = "", 0
for it = 1, 300000 do
  s = s .. "abc"
  local n = #s
  if n >= 60 then
    s = s:sub(-30)
    s = s:sub(1, 10) .. s
  end
  total = total + n
end
print(total)
