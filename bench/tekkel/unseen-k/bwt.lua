-- The Burrows-Wheeler transform and move-to-front, there and back (see bwt.tkl).
local seed = 41
local function draw(k)
  seed = (1093 * seed + 18257) % 86436
  return math.floor(seed * k / 86436)
end

local words = {"the", "miller", "grinds", "slow", "at", "dawn", "river", "wheel", "turns",
               "flour", "in", "sacks"}
local alphabet = ". abcdefghijklmnopqrstuvwxyz"
local code, letter = {}, {}
for i = 1, #alphabet do
  code[alphabet:sub(i, i)] = i
  letter[i] = alphabet:sub(i, i)
end

local TEXTS = 2200
local t, rot, last, list, count, start, lf = {}, {}, {}, {}, {}, {}, {}
local chars, mtfSum, zeros, right, checksum, compares = 0, 0, 0, 0, 0, 0
local lastText = ""

-- whether the rotation from a comes after the one from b
local function after(a, b, n)
  for k = 0, n - 1 do
    compares = compares + 1
    local ca, cb = t[a + k], t[b + k]
    if ca ~= cb then return ca > cb end
  end
  return false
end

for text = 1, TEXTS do
  local s = words[draw(12) + 1]
  local nw = draw(5) + 6
  for w = 2, nw do s = s .. " " .. words[draw(12) + 1] end
  s = s .. "."
  local n = #s
  chars = chars + n
  for i = 1, n do
    t[i] = code[s:sub(i, i)]
    t[n + i] = t[i]
  end
  -- the rotations in order, by insertion sort
  for i = 1, n do
    local r = i
    local j = i - 1
    while j >= 1 and after(rot[j], r, n) do
      rot[j + 1] = rot[j]
      j = j - 1
    end
    rot[j + 1] = r
  end
  local primary = 0
  for r = 1, n do
    last[r] = t[rot[r] + n - 1]
    if rot[r] == 1 then primary = r end
  end
  checksum = (checksum * 11 + primary) % 1000003
  -- move to front
  for c = 1, 28 do list[c] = c end
  for r = 1, n do
    local c = last[r]
    local p = 1
    while list[p] ~= c do p = p + 1 end
    mtfSum = mtfSum + p - 1
    if p == 1 then zeros = zeros + 1 end
    while p > 1 do
      list[p] = list[p - 1]
      p = p - 1
    end
    list[1] = c
  end
  -- back again
  for c = 1, 28 do count[c] = 0 end
  for r = 1, n do count[last[r]] = count[last[r]] + 1 end
  local sum = 0
  for c = 1, 28 do
    start[c] = sum
    sum = sum + count[c]
  end
  for r = 1, n do
    local c = last[r]
    start[c] = start[c] + 1
    lf[r] = start[c]
  end
  local row, ok = primary, true
  for i = n, 1, -1 do
    if last[row] ~= t[i] then ok = false end
    row = lf[row]
  end
  if ok then right = right + 1 end
  if text == TEXTS then
    for r = 1, n do lastText = lastText .. letter[last[r]] end
  end
end
print(chars)
print(compares)
print(mtfSum)
print(zeros)
print(right)
print(checksum)
print(lastText)
