-- Mastermind games solved by always guessing the first code still possible (see mastermind.tkl).
local seed = 11
local function draw(k)
  seed = (4561 * seed + 51349) % 243000
  return math.floor(seed * k / 243000)
end

local pegs, counts = {}, {}
for c = 0, 1295 do
  for k = 1, 6 do counts[6 * c + k] = 0 end
  local v = c
  for j = 1, 4 do
    local p = v % 6
    v = math.floor(v / 6)
    pegs[4 * c + j] = p
    counts[6 * c + p + 1] = counts[6 * c + p + 1] + 1
  end
end

-- 10 per peg of the right colour in the right place, 1 per other peg of a right colour
local function score(a, b)
  local s = 0
  for j = 1, 4 do
    if pegs[4 * a + j] == pegs[4 * b + j] then s = s + 9 end
  end
  for k = 1, 6 do
    local x, y = counts[6 * a + k], counts[6 * b + k]
    if y < x then x = y end
    s = s + x
  end
  return s
end

local GAMES = 300
local total, most, checksum, scored = 0, 0, 0, 0
local hist = {}
for k = 1, 9 do hist[k] = 0 end
local cand = {}
for game = 1, GAMES do
  local secret = draw(1296)
  local guess, guesses, n = 266, 0, 1296
  for i = 1, n do cand[i] = i - 1 end
  while true do
    guesses = guesses + 1
    checksum = (checksum * 7 + guess) % 1000003
    local answer = score(guess, secret)
    if answer == 40 then break end
    local m = 0
    for i = 1, n do
      local c = cand[i]
      scored = scored + 1
      if score(guess, c) == answer then
        m = m + 1
        cand[m] = c
      end
    end
    n = m
    guess = cand[1]
  end
  total = total + guesses
  if guesses > most then most = guesses end
  hist[guesses] = hist[guesses] + 1
end
for k = 1, 9 do print(k .. " guesses: " .. hist[k]) end
print(total)
print(most)
print(string.format("%.15g", total / GAMES))
print(checksum)
print(scored)
