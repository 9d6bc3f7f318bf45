-- Ranked ballots counted by instant runoff in many districts (see runoff.tkl).
local seed = 3
local function draw(k)
  seed = (seed * 4561 + 51349) % 243000
  return math.floor(seed * k / 243000)
end

local NAMES = {"Ada", "Bram", "Cleo", "Dov", "Esme", "Finn", "Gus"}
local DISTRICTS, VOTERS = 60, 2500
local wins = {0, 0, 0, 0, 0, 0, 0}
local totalRounds = 0

for d = 1, DISTRICTS do
  -- how the district leans, then the ballots, as names
  local weights, total = {}, 0
  for c = 1, 7 do
    weights[c] = 5 + draw(20)
    total = total + weights[c]
  end
  local ballots = {}
  for b = 1, VOTERS do
    local ranked = 1 + draw(4)
    local ballot = {}
    local j = 0
    while j < ranked do
      local r = draw(total)
      local c = 0
      repeat
        c = c + 1
        local chosen = r < weights[c]
        r = r - weights[c]
      until chosen
      local name = NAMES[c]
      local seen = false
      for k = 1, j do
        if ballot[k] == name then seen = true end
      end
      if not seen then
        j = j + 1
        ballot[j] = name
      end
    end
    ballots[b] = ballot
  end

  -- the count
  local out = {false, false, false, false, false, false, false}
  local round = 0
  while true do
    round = round + 1
    local tally = {0, 0, 0, 0, 0, 0, 0}
    local exhausted = 0
    for b = 1, VOTERS do
      local ballot = ballots[b]
      local counted = false
      for j = 1, #ballot do
        local c = 1
        while NAMES[c] ~= ballot[j] do c = c + 1 end
        if not out[c] then
          tally[c] = tally[c] + 1
          counted = true
          break
        end
      end
      if not counted then exhausted = exhausted + 1 end
    end
    local active = VOTERS - exhausted
    local best, low = 0, 0
    local text = "district " .. d .. " round " .. round .. ":"
    for c = 1, 7 do
      if not out[c] then
        text = text .. " " .. NAMES[c] .. " " .. tally[c]
        if best == 0 or tally[c] > tally[best] then best = c end
        if low == 0 or tally[c] < tally[low] then low = c end
      end
    end
    if d <= 3 then print(text .. ", exhausted " .. exhausted) end
    if tally[best] * 2 > active then
      print("district " .. d .. ": " .. NAMES[best] .. " wins with " .. tally[best] .. " of " .. active)
      wins[best] = wins[best] + 1
      break
    end
    out[low] = true
  end
  totalRounds = totalRounds + round
end
local text = "wins:"
for c = 1, 7 do text = text .. " " .. NAMES[c] .. " " .. wins[c] end
print(text)
print(totalRounds)
