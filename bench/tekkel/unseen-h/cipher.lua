local alphabet = "abcdefghijklmnopqrstuvwxyz"
local letter, index = {}, {}
for i = 1, 26 do
  letter[i] = alphabet:sub(i, i)
  index[letter[i]] = i
end
local words = {"the", "dragon", "sleeps", "under", "old", "mountain", "gold", "hero", "must",
               "find", "a", "key", "to", "open", "north", "gate", "river", "crosses", "village",
               "quietly"}
local keys = {"lantern", "ember", "quill", "raven", "thorn", "mist", "falcon", "cinder"}
-- the commonest letters of English and their weights
local common = {"e", "t", "a", "o", "i", "n", "s", "h", "r"}
local weight = {12, 9, 8, 8, 7, 7, 6, 6, 6}

local x = 5
local function draw(k)
  x = (3661 * x + 30809) % 145800
  return math.floor(x * k / 145800)
end

local letters, columns, broken, read = 0, 0, 0, 0
local cipher, found = "", ""
local counts = {}
for c = 1, 7 do counts[c] = {} end
for msg = 1, 1200 do
  local plain = words[draw(20) + 1]
  for w = 2, 20 do plain = plain .. " " .. words[draw(20) + 1] end
  local key = keys[draw(8) + 1]
  local len = #key
  local shift = {}
  for k = 1, len do shift[k] = index[key:sub(k, k)] - 1 end
  for c = 1, len do
    for v = 1, 26 do counts[c][v] = 0 end
  end
  -- encipher, counting the letters of each column
  cipher = ""
  local k = 1
  for p = 1, #plain do
    local ch = plain:sub(p, p)
    if ch == " " then
      cipher = cipher .. " "
    else
      local v = (index[ch] - 1 + shift[k]) % 26 + 1
      cipher = cipher .. letter[v]
      counts[k][v] = counts[k][v] + 1
      letters = letters + 1
      k = k % len + 1
    end
  end
  -- guess each column's shift from the commonest letters
  found = ""
  local guess = {}
  for c = 1, len do
    local best, bestShift = -1, 0
    for s = 0, 25 do
      local score = 0
      for j = 1, 9 do
        score = score + weight[j] * counts[c][(index[common[j]] - 1 + s) % 26 + 1]
      end
      if score > best then best, bestShift = score, s end
    end
    guess[c] = bestShift
    found = found .. letter[bestShift + 1]
    if bestShift == shift[c] then columns = columns + 1 end
  end
  if found == key then broken = broken + 1 end
  -- read the message with the key found
  local text = ""
  k = 1
  for p = 1, #cipher do
    local ch = cipher:sub(p, p)
    if ch == " " then
      text = text .. " "
    else
      text = text .. letter[(index[ch] - 1 - guess[k] + 26) % 26 + 1]
      k = k % len + 1
    end
  end
  if text == plain then read = read + 1 end
end
print(letters)
print(columns)
print(broken)
print(read)
print(found)
print(cipher)
