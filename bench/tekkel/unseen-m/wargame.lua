-- The card game War played out many times, each hand a queue of its own (see wargame.tkl).
local seed = 41
local function draw(k)
  seed = (seed * 2311 + 25367) % 120050
  return math.floor(seed * k / 120050)
end

local GAMES, CAP = 800, 2000
local deck = {}
local hand = {{}, {}}
local head, size = {0, 0}, {0, 0}
local pot = {}

local function take(p)
  local card = hand[p][head[p] + 1]
  head[p] = (head[p] + 1) % 52
  size[p] = size[p] - 1
  return card
end
local function give(p, card)
  hand[p][(head[p] + size[p]) % 52 + 1] = card
  size[p] = size[p] + 1
end

local wins1, wins2, stalled, tied = 0, 0, 0, 0
local rounds, longest, longestGame, wars, doubles = 0, 0, 0, 0, 0
for game = 1, GAMES do
  for i = 1, 52 do deck[i] = 2 + (i - 1) % 13 end
  for i = 52, 2, -1 do
    local j = draw(i) + 1
    deck[i], deck[j] = deck[j], deck[i]
  end
  head[1], size[1], head[2], size[2] = 0, 0, 0, 0
  for i = 1, 52 do
    if i % 2 == 1 then give(1, deck[i]) else give(2, deck[i]) end
  end
  local played, over = 0, false
  while not over do
    if size[1] == 0 then wins2 = wins2 + 1 break end
    if size[2] == 0 then wins1 = wins1 + 1 break end
    if played == CAP then stalled = stalled + 1 break end
    played = played + 1
    local n = 0
    local a, b = take(1), take(2)
    pot[n + 1], pot[n + 2] = a, b
    n = n + 2
    local warsHere = 0
    while a == b do
      wars = wars + 1
      warsHere = warsHere + 1
      if warsHere == 2 then doubles = doubles + 1 end
      if size[1] < 4 or size[2] < 4 then
        if size[1] < size[2] then wins2 = wins2 + 1
        elseif size[2] < size[1] then wins1 = wins1 + 1
        else tied = tied + 1 end
        over = true
        break
      end
      for k = 1, 3 do
        pot[n + 1], pot[n + 2] = take(1), take(2)
        n = n + 2
      end
      a, b = take(1), take(2)
      pot[n + 1], pot[n + 2] = a, b
      n = n + 2
    end
    if not over then
      local winner = 2
      if a > b then winner = 1 end
      for k = 1, n do give(winner, pot[k]) end
    end
  end
  rounds = rounds + played
  if played > longest then
    longest, longestGame = played, game
  end
end
print("first player " .. wins1 .. ", second " .. wins2 .. ", stalled " .. stalled .. ", tied " .. tied)
print(rounds)
print("longest game " .. longestGame .. " with " .. longest .. " rounds")
print(wars)
print(doubles)
