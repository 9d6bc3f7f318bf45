local rankChars = "23456789TJQKA"
local suitChars = "SHDC"
local categories = {"high card", "pair", "two pairs", "three of a kind", "straight", "flush",
                    "full house", "four of a kind", "straight flush"}
local names, deck = {}, {}
for card = 0, 51 do
  local r, s = math.floor(card / 4) + 1, card % 4 + 1
  names[card] = rankChars:sub(r, r) .. suitChars:sub(s, s)
  deck[card + 1] = card
end

local x = 77
local function draw(k)
  x = (1021 * x + 12345) % 1048576
  return math.floor(x * k / 1048576)
end

local tally, wins = {}, {}
for c = 1, 9 do tally[c] = 0 end
for s = 1, 10 do wins[s] = 0 end
local counts, sorted = {}, {}
local best, bestHand, chars, line = -1, "", 0, ""

local function score(first)
  for r = 2, 14 do counts[r] = 0 end
  local flush = true
  local suit = deck[first] % 4
  for i = 0, 4 do
    local card = deck[first + i]
    local r = math.floor(card / 4) + 2
    counts[r] = counts[r] + 1
    if card % 4 ~= suit then flush = false end
    sorted[i + 1] = r
  end
  -- the ranks by how often they come, then by rank, by insertion
  for i = 2, 5 do
    local r = sorted[i]
    local j = i - 1
    while j >= 1 and (counts[sorted[j]] < counts[r]
                      or (counts[sorted[j]] == counts[r] and sorted[j] < r)) do
      sorted[j + 1] = sorted[j]
      j = j - 1
    end
    sorted[j + 1] = r
  end
  local c1 = counts[sorted[1]]
  local c2 = counts[sorted[c1 + 1]]
  local cat = 0
  if c1 == 4 then cat = 7
  elseif c1 == 3 and c2 == 2 then cat = 6
  elseif c1 == 3 then cat = 3
  elseif c1 == 2 and c2 == 2 then cat = 2
  elseif c1 == 2 then cat = 1
  else
    local straight = false
    if sorted[1] - sorted[5] == 4 then
      straight = true
    elseif sorted[1] == 14 and sorted[2] == 5 then
      straight = true
      sorted[1], sorted[2], sorted[3], sorted[4], sorted[5] = 5, 4, 3, 2, 1
    end
    if straight and flush then cat = 8
    elseif flush then cat = 5
    elseif straight then cat = 4 end
  end
  local v = cat
  for i = 1, 5 do v = v * 16 + sorted[i] end
  return v, cat
end

for round = 1, 12000 do
  for i = 52, 2, -1 do
    local j = draw(i) + 1
    deck[i], deck[j] = deck[j], deck[i]
  end
  local top, topSeat, topCat = -1, 0, 0
  for seat = 1, 10 do
    local v, cat = score(seat * 5 - 4)
    tally[cat + 1] = tally[cat + 1] + 1
    if v > top then top, topSeat, topCat = v, seat, cat end
  end
  wins[topSeat] = wins[topSeat] + 1
  line = "seat " .. topSeat .. ":"
  for i = topSeat * 5 - 4, topSeat * 5 do line = line .. " " .. names[deck[i]] end
  line = line .. " (" .. categories[topCat + 1] .. ")"
  chars = chars + #line
  if top > best then best, bestHand = top, line end
end
local t = tostring(tally[1])
for c = 2, 9 do t = t .. " " .. tally[c] end
print(t)
t = tostring(wins[1])
for s = 2, 10 do t = t .. " " .. wins[s] end
print(t)
print(chars)
print(best)
print(bestHand)
print(line)
