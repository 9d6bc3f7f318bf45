local syll = {"ka", "ro", "mi", "tan", "e", "su", "lor", "ai"}
local x = 11
local function word()
  x = (x * 4021 + 13849) % 65536
  local n = math.floor(x / 16384) + 3
  local w = ""
  for k = 1, n do
    x = (x * 4021 + 13849) % 65536
    w = w .. syll[math.floor(x / 8192) + 1]
  end
  return w
end
local row, tc = {}, {}
local sum, worst, close = 0, -1, 0
local worstA, worstB = "", ""
local a, b
for pair = 1, 28000 do
  a = word()
  b = word()
  local n = #b
  for j = 1, n do tc[j] = b:sub(j, j) end
  for j = 0, n do row[j] = j end
  for i = 1, #a do
    local c = a:sub(i, i)
    local diag = row[0]
    row[0] = i
    for j = 1, n do
      local up = row[j]
      local v = diag
      if c ~= tc[j] then v = v + 1 end
      if up + 1 < v then v = up + 1 end
      if row[j - 1] + 1 < v then v = row[j - 1] + 1 end
      row[j] = v
      diag = up
    end
  end
  local d = row[n]
  sum = sum + d
  if d <= 2 then close = close + 1 end
  if d > worst then
    worst = d
    worstA, worstB = a, b
  end
end
print(string.format("%d", sum))
print(string.format("%d", close))
print(string.format("%d", worst))
print(worstA)
print(worstB)
print(string.format("%s %s %d", a, b, row[#b]))
