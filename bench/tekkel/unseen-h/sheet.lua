local letters = "ABCDEF"
local x = 11
local function draw(k)
  x = (1093 * x + 18257) % 86436
  return math.floor(x * k / 86436)
end

-- cell (column c, row r) at (c - 1) * 10 + r; columns A and B hold numbers, C..F formulas
local value, formula = {}, {}
for i = 1, 20 do value[i] = draw(1000) end
local fns = {"SUM", "MAX", "MIN", "+", "*", "AVG"}
local function ref(c)
  local col = draw(c - 1) + 1
  return letters:sub(col, col) .. (draw(10) + 1)
end
for c = 3, 6 do
  for r = 1, 10 do
    local kind = draw(6) + 1
    local f
    if kind == 4 then
      f = ref(c)
      f = "=" .. f .. "+" .. ref(c)
    elseif kind == 5 then
      f = ref(c)
      f = "=" .. f .. "*" .. (draw(4) + 2)
    else
      local c1 = draw(c - 1) + 1
      local c2 = c1 + draw(2)
      if c2 > c - 1 then c2 = c - 1 end
      local r1 = draw(10) + 1
      local r2 = r1 + draw(4)
      if r2 > 10 then r2 = 10 end
      f = "=" .. fns[kind] .. "(" .. letters:sub(c1, c1) .. r1 .. ":" .. letters:sub(c2, c2)
        .. r2 .. ")"
    end
    formula[(c - 1) * 10 + r] = f
  end
end

local function cell(col, row)
  return (col:byte() - 64 - 1) * 10 + tonumber(row)
end

local checksum, largest, parsed = 0, 0, 0
for tick = 1, 5000 do
  for n = 1, 3 do
    local i = draw(20) + 1
    value[i] = draw(1000)
  end
  for i = 21, 60 do
    local f = formula[i]
    local v
    local fn, c1, r1, c2, r2 = f:match("^=(%u%u%u)%((%u)(%d+):(%u)(%d+)%)$")
    if fn then
      local a1, a2 = c1:byte() - 64, c2:byte() - 64
      local b1, b2 = tonumber(r1), tonumber(r2)
      local sum, count = 0, 0
      local hi, lo = -1, 1000000000
      for col = a1, a2 do
        for row = b1, b2 do
          local w = value[(col - 1) * 10 + row]
          sum = sum + w
          count = count + 1
          if w > hi then hi = w end
          if w < lo then lo = w end
        end
      end
      if fn == "SUM" then v = sum
      elseif fn == "MAX" then v = hi
      elseif fn == "MIN" then v = lo
      else v = math.floor(sum / count) end
    else
      local ca, ra, op, rest = f:match("^=(%u)(%d+)([%+%*])(.*)$")
      local a = value[cell(ca, ra)]
      if op == "+" then
        v = a + value[cell(rest:sub(1, 1), rest:sub(2))]
      else
        v = a * tonumber(rest)
      end
    end
    parsed = parsed + 1
    value[i] = v
    if v > largest then largest = v end
    checksum = (checksum * 7 + v) % 1000003
  end
end
print(checksum)
print(largest)
print(parsed)
local line = formula[51]
for i = 52, 60 do line = line .. " " .. formula[i] end
print(line)
line = string.format("%d", value[51])
for i = 52, 60 do line = line .. " " .. string.format("%d", value[i]) end
print(line)
