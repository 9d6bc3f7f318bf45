local s, total = "", 0
for i = 1, 300000 do
  s = s .. i
  if #s >= 40 then
    total = total + tonumber(s:sub(1, 6))
    s = s:sub(-20)
  end
end
print(total)
