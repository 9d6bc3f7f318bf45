local names = {"arrow", "potion", "herb", "dagger", "shield", "gem", "scroll", "bone"}
local price = {1, 25, 4, 60, 90, 250, 40, 2}
local weight = {1, 2, 1, 8, 15, 1, 1, 3}
local count = {0, 0, 0, 0, 0, 0, 0, 0}
local load, gold, xp, level, hp = 0, 50, 0, 1, 60
local kills, fled, sold, potions, chars = 0, 0, 0, 0, 0
local log = ""
local x = 42
for event = 1, 300000 do
  x = (x * 7141 + 54773) % 259200
  local kind = x % 10
  local msg
  if kind < 4 then
    local item, qty = x // 10 % 8 + 1, x // 80 % 3 + 1
    count[item] = count[item] + qty
    load = load + qty * weight[item]
    msg = "Got " .. qty .. " " .. names[item]
    if load > 60 then
      local most, pick = 0, 0
      for k = 1, 8 do
        local w = count[k] * weight[k]
        if most < w then
          most = w
          pick = k
        end
      end
      gold = gold + count[pick] * price[pick]
      load = load - most
      sold = sold + count[pick]
      count[pick] = 0
      msg = msg .. ", sold the " .. names[pick]
    end
  elseif kind < 7 then
    local foe = x // 10 % (8 * level + 40) + 1
    if hp > foe then
      hp = hp - foe
      xp = xp + foe
      kills = kills + 1
      msg = "Beat a foe of " .. foe
      if xp >= level * level * 40 then
        level = level + 1
        hp = level * 10 + 50
        msg = msg .. ", now level " .. level
      end
    elseif count[2] > 0 then
      count[2] = count[2] - 1
      load = load - 2
      potions = potions + 1
      hp = hp + 30
      local top = level * 10 + 50
      if hp > top then hp = top end
      msg = "Drank a potion"
    else
      local lost = gold // 10
      gold = gold - lost
      fled = fled + 1
      msg = "Fled and lost " .. lost .. " gold"
    end
  elseif kind == 7 then
    hp = level * 10 + 50
    if gold >= 5 then gold = gold - 5 end
    msg = "Rested at the inn"
  elseif kind == 8 then
    if gold >= 25 and count[2] < 4 then
      gold = gold - 25
      count[2] = count[2] + 1
      load = load + 2
      msg = "Bought a potion"
    else
      msg = "Looked at the wares"
    end
  else
    local reward = level * 20
    gold = gold + reward
    msg = "Quest done for " .. reward .. " gold"
  end
  chars = chars + #msg
  log = log .. msg .. "/"
  if #log > 120 then log = log:sub(-60) end
end
print(gold)
print(xp)
print(level)
print(kills)
print(fled)
print(potions)
print(sold)
print(chars)
print(log)
