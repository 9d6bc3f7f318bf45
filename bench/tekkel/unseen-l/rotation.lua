-- A spell caster's rotation against training dummies, tick by tick (see rotation.tkl).
local seed = 23
local function draw(k)
  seed = (4561 * seed + 51349) % 243000
  return math.floor(seed * k / 243000)
end

local names = {"heal", "execute", "venom", "meteor", "frostbolt", "strike"}
local cooldown = {30, 0, 24, 40, 6, 0}
local cost = {25, 30, 20, 45, 15, 0}
local base = {600, 400, 0, 500, 180, 90}
local spread = {0, 100, 0, 300, 60, 40}
local uses, dealt, cd = {}, {}, {}
for a = 1, 6 do
  uses[a] = 0
  dealt[a] = 0
end

local FIGHTS = 3500
local wins, losses, timeouts, crits, overkill, winTicks, longest = 0, 0, 0, 0, 0, 0, 0
for fight = 1, FIGHTS do
  local maxHp = 8000 + draw(4001)
  local hp = maxHp
  local armor = 20 + draw(61)
  local life, mana, poison, tick = 3000, 100, 0, 0
  for a = 1, 6 do cd[a] = 0 end
  while true do
    tick = tick + 1
    mana = mana + 4
    if mana > 100 then mana = 100 end
    for a = 1, 6 do
      if cd[a] > 0 then cd[a] = cd[a] - 1 end
    end
    if poison > 0 then
      hp = hp - 45
      poison = poison - 1
      dealt[3] = dealt[3] + 45
    end
    if hp > 0 then
      local a = 0
      for k = 1, 6 do
        if cd[k] == 0 and cost[k] <= mana then
          local ready = true
          if k == 1 then
            ready = life < 1500
          elseif k == 2 then
            ready = hp * 5 < maxHp
          elseif k == 3 then
            ready = poison == 0
          end
          if ready then
            a = k
            break
          end
        end
      end
      uses[a] = uses[a] + 1
      cd[a] = cooldown[a]
      mana = mana - cost[a]
      if a == 1 then
        life = life + 600
        if life > 3000 then life = 3000 end
      elseif a == 3 then
        poison = 6
      else
        local dmg = base[a] + draw(spread[a] + 1)
        if draw(100) < 12 then
          dmg = dmg * 2
          crits = crits + 1
        end
        dmg = math.floor(dmg * 100 / (100 + armor))
        hp = hp - dmg
        dealt[a] = dealt[a] + dmg
      end
    end
    if hp <= 0 then
      wins = wins + 1
      overkill = overkill - hp
      winTicks = winTicks + tick
      if tick > longest then longest = tick end
      break
    end
    if tick % 4 == 0 then
      life = life - (110 + draw(61))
      if life <= 0 then
        losses = losses + 1
        break
      end
    end
    if tick == 600 then
      timeouts = timeouts + 1
      break
    end
  end
end
for a = 1, 6 do print(names[a] .. ": " .. uses[a] .. " casts, " .. dealt[a] .. " damage") end
print(wins)
print(losses)
print(timeouts)
print(crits)
print(overkill)
print(longest)
print(string.format("%.15g", winTicks / wins))
