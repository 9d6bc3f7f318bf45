local letters = {"a", "b", "c", "d"}
local x, runs, longest, coded = 1, 0, 0, 0
local enc
for line = 1, 20000 do
  local s, cur = "", 1
  for k = 1, 64 do
    x = (x * 3877 + 29573) % 139968
    if x < 46656 then cur = x % 4 + 1 end
    s = s .. letters[cur]
  end
  local c, run = s:sub(1, 1), 1
  enc = ""
  for i = 2, 65 do
    local ch = s:sub(i, i)
    if ch == c then
      run = run + 1
    else
      enc = enc .. c .. run
      runs = runs + 1
      if run > longest then longest = run end
      c, run = ch, 1
    end
  end
  coded = coded + #enc
end
print(runs)
print(longest)
print(coded)
print(enc)
