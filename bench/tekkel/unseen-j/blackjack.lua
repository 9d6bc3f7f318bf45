-- Blackjack from a six-deck shoe played by a simple strategy (see blackjack.tkl).
local seed = 17
local function draw(k)
  seed = (1366 * seed + 150889) % 714025
  return math.floor(seed * k / 714025)
end
local ranks = {"A", "2", "3", "4", "5", "6", "7", "8", "9", "T", "J", "Q", "K"}
local suits = {"S", "H", "D", "C"}

local shoe = {}
for i = 1, 312 do shoe[i] = (i - 1) % 52 end
local pos = 313
local shuffles = 0

-- a hand: the sum with aces as 1, the aces, the cards and its text
local function take(hand)
  local c = shoe[pos]
  pos = pos + 1
  local r = c % 13 + 1
  local v = r
  if v > 10 then v = 10 end
  hand.sum = hand.sum + v
  if r == 1 then hand.aces = hand.aces + 1 end
  hand.cards = hand.cards + 1
  local name = ranks[r] .. suits[math.floor(c / 13) + 1]
  if hand.text == "" then hand.text = name else hand.text = hand.text .. " " .. name end
  return v
end

local function total(hand)
  if hand.aces > 0 and hand.sum <= 11 then return hand.sum + 10, true end
  return hand.sum, false
end

local bank, most, least = 1000, 1000, 1000
local wins, losses, pushes, naturals, busts, dealerBusts, doubles = 0, 0, 0, 0, 0, 0, 0
local chars, line = 0, ""
for round = 1, 120000 do
  if pos > 234 then
    for i = 312, 2, -1 do
      local j = draw(i) + 1
      shoe[i], shoe[j] = shoe[j], shoe[i]
    end
    pos = 1
    shuffles = shuffles + 1
  end
  local bet = 10
  local player = {sum = 0, aces = 0, cards = 0, text = ""}
  local dealer = {sum = 0, aces = 0, cards = 0, text = ""}
  take(player)
  local up = take(dealer)
  take(player)
  take(dealer)
  local pv = total(player)
  local dv = total(dealer)
  local outcome
  if pv == 21 or dv == 21 then
    if pv == dv then
      outcome = "push"
    elseif pv == 21 then
      outcome = "blackjack"
    else
      outcome = "lose"
    end
  else
    while true do
      local soft
      pv, soft = total(player)
      if soft then
        if pv >= 18 then break end
        take(player)
      else
        local low = up >= 2 and up <= 6
        if player.cards == 2 and ((pv >= 10 and pv <= 11 and up >= 2 and up <= 9) or
                                  (pv == 9 and up >= 3 and up <= 6)) then
          bet = 20
          doubles = doubles + 1
          take(player)
          pv = total(player)
          break
        end
        if pv >= 17 then break end
        if pv >= 13 and low then break end
        if pv == 12 and up >= 4 and up <= 6 then break end
        take(player)
      end
    end
    if pv > 21 then
      busts = busts + 1
      outcome = "bust"
    else
      while dv < 17 do
        take(dealer)
        dv = total(dealer)
      end
      if dv > 21 then
        dealerBusts = dealerBusts + 1
        outcome = "win"
      elseif pv > dv then
        outcome = "win"
      elseif pv < dv then
        outcome = "lose"
      else
        outcome = "push"
      end
    end
  end
  if outcome == "win" then
    wins = wins + 1
    bank = bank + bet
  elseif outcome == "blackjack" then
    naturals = naturals + 1
    wins = wins + 1
    bank = bank + 15
  elseif outcome == "push" then
    pushes = pushes + 1
  else
    losses = losses + 1
    bank = bank - bet
  end
  if bank > most then most = bank end
  if bank < least then least = bank end
  line = "you " .. player.text .. " (" .. pv .. "), dealer " .. dealer.text .. " (" .. dv ..
         "): " .. outcome .. ", bank " .. bank
  chars = chars + #line
end
print(wins .. " won, " .. losses .. " lost, " .. pushes .. " pushed")
print(naturals .. " blackjacks, " .. busts .. " busts, " .. dealerBusts .. " dealer busts, " ..
      doubles .. " doubles, " .. shuffles .. " shuffles")
print(bank)
print(most)
print(least)
print(chars)
print(line)
