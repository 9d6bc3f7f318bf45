-- Words made of random letters, grouped by their letters sorted (see anagrams.tkl).
local seed = 7
local function roll(k)
  seed = (seed * 1366 + 150889) % 714025
  return math.floor(seed * k / 714025)
end

local LETTERS = "etaoinsrl"
local WORDS = 20000
local keys, counts, firsts = {}, {}, {}
for len = 3, 6 do
  keys[len], counts[len], firsts[len] = {}, {}, {}
end

local inOrder = 0
local word, key
for w = 1, WORDS do
  local len = 3 + roll(4)
  word = ""
  for i = 1, len do
    local p = roll(9) + 1
    word = word .. LETTERS:sub(p, p)
  end
  -- insertion of each letter into the key, behind the letters not above it
  key = ""
  local rest = word
  while #rest > 0 do
    local c = rest:sub(1, 1)
    rest = rest:sub(2)
    local p = 0
    while p < #key and key:sub(p + 1, p + 1) <= c do p = p + 1 end
    key = key:sub(1, p) .. c .. key:sub(p + 1)
  end
  if key == word then inOrder = inOrder + 1 end
  local ks, cs = keys[len], counts[len]
  local j = 1
  while j <= #ks and ks[j] ~= key do j = j + 1 end
  if j > #ks then
    ks[j] = key
    cs[j] = 0
    firsts[len][j] = word
  end
  cs[j] = cs[j] + 1
end

local total, big, best, bestLen, bestAt = 0, 0, 0, 0, 0
for len = 3, 6 do
  local ks, cs = keys[len], counts[len]
  print(len .. " letters: " .. #ks .. " keys")
  total = total + #ks
  for j = 1, #ks do
    if cs[j] >= 3 then big = big + 1 end
    if cs[j] > best then
      best, bestLen, bestAt = cs[j], len, j
    end
  end
end
print("keys: " .. total)
print("classes of three or more: " .. big)
print("largest: " .. keys[bestLen][bestAt] .. " x" .. best .. " first " .. firsts[bestLen][bestAt])
print("already in order: " .. inOrder)
print("last: " .. word .. " " .. key)
