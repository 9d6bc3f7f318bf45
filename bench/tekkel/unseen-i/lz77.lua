-- LZ77 packing of a game's dialogue lines: each line is coded as literals and {offset,length}
-- references back into itself, then unpacked again and checked
local words = {"the", "dragon", "sleeps", "under", "old", "castle", "you", "must", "find",
  "a", "key", "to", "open", "door", "north", "of", "village", "gold", "and", "sword"}
local x = 5
local function draw(k)
  x = (x * 2661 + 36979) % 175000
  return math.floor(x * k / 175000)
end

local window, longest, shortest = 64, 18, 5
local inchars, outchars, refs, lits, best, good, sum = 0, 0, 0, 0, 0, 0, 0
local packed
for m = 1, 700 do
  local s = ""
  local n = draw(20) + 16
  for w = 1, n do
    if w > 1 then s = s .. " " end
    s = s .. words[draw(20) + 1]
  end
  s = s .. "."
  local len = #s
  inchars = inchars + len
  packed = ""
  local i = 1
  while i <= len do
    local bestlen, bestoff = 0, 0
    local j = i - 1
    local stop = i - window
    if stop < 1 then stop = 1 end
    while j >= stop do
      local k = 0
      while k < longest and i + k <= len and s:sub(j + k, j + k) == s:sub(i + k, i + k) do
        k = k + 1
      end
      if k > bestlen then
        bestlen = k
        bestoff = i - j
      end
      j = j - 1
    end
    if bestlen >= shortest then
      packed = packed .. "{" .. bestoff .. "," .. bestlen .. "}"
      refs = refs + 1
      if bestlen > best then best = bestlen end
      i = i + bestlen
    else
      packed = packed .. s:sub(i, i)
      lits = lits + 1
      i = i + 1
    end
  end
  outchars = outchars + #packed
  -- unpack
  local out = ""
  local rest = packed
  while #rest > 0 do
    local c = rest:sub(1, 1)
    rest = rest:sub(2)
    if c == "{" then
      local off = tonumber(rest:match("^%d+"))
      local p = rest:find(",", 1, true)
      rest = rest:sub(p + 1)
      local cnt = tonumber(rest:match("^%d+"))
      p = rest:find("}", 1, true)
      rest = rest:sub(p + 1)
      for k = 1, cnt do
        out = out .. out:sub(#out - off + 1, #out - off + 1)
      end
      sum = (sum * 7 + off * 31 + cnt) % 1000003
    else
      out = out .. c
    end
  end
  if out == s then good = good + 1 end
end
print(inchars)
print(outchars)
print(refs)
print(lits)
print(best)
print(good)
print(sum)
print(packed)
