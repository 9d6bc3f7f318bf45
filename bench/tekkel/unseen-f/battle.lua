local heroName = {"Aria", "Bram", "Cleo", "Dax"}
local heroMax = {120, 80, 70, 90}
local heroAtk = {18, 22, 12, 10}
local heroDef = {10, 5, 4, 7}
local kindName = {"Slime", "Goblin", "Wolf", "Ogre"}
local kindHp = {30, 45, 40, 90}
local kindAtk = {6, 10, 12, 16}
local kindDef = {1, 4, 2, 8}
local x = 11
local function draw(k)
  x = (x * 1366 + 150889) % 714025
  return math.floor(x * k / 714025)
end
local hp, mhp, matk, mdef, mkind = {}, {}, {}, {}, {}
local mp, wave, alive, standing = 0, 0, 0, 0
local runs, cleared, best, slain, fallen = 0, 0, 0, 0, 0
local dealt, heals, fireballs, crits, chars = 0, 0, 0, 0, 0
local line = ""

local function newParty()
  for i = 1, 4 do hp[i] = heroMax[i] end
  mp = 60
  wave = 0
  standing = 4
end

local function newWave()
  wave = wave + 1
  for m = 1, 3 do
    local k = draw(4) + 1
    mkind[m] = k
    mhp[m] = kindHp[k] + 6 * wave
    matk[m] = kindAtk[k] + 2 * wave
    mdef[m] = kindDef[k] + wave
  end
  alive = 3
end

local function strike(m, dmg)
  if dmg < 1 then dmg = 1 end
  dealt = dealt + dmg
  mhp[m] = mhp[m] - dmg
  if mhp[m] <= 0 then
    slain = slain + 1
    alive = alive - 1
    line = kindName[mkind[m]] .. " is slain"
    chars = chars + #line
  end
end

newParty()
newWave()
for round = 1, 100000 do
  for i = 1, 4 do
    if hp[i] > 0 and alive > 0 then
      local healed = false
      if i == 4 then
        local t, low = 0, 10000
        for j = 1, 4 do
          local h = hp[j]
          if h > 0 and h * 2 < heroMax[j] and h < low then
            t, low = j, h
          end
        end
        if t > 0 then
          local h = hp[t] + 30
          if h > heroMax[t] then h = heroMax[t] end
          hp[t] = h
          heals = heals + 1
          line = "Dax heals " .. heroName[t]
          chars = chars + #line
          healed = true
        end
      end
      if not healed then
        if i == 3 and mp >= 10 and alive >= 2 then
          mp = mp - 10
          fireballs = fireballs + 1
          line = "Cleo casts fire"
          chars = chars + #line
          for m = 1, 3 do
            if mhp[m] > 0 then strike(m, 15 + draw(10) - mdef[m]) end
          end
        else
          local t, low = 0, 100000
          for m = 1, 3 do
            local h = mhp[m]
            if h > 0 and h < low then t, low = m, h end
          end
          local dmg = heroAtk[i] + draw(heroAtk[i]) - mdef[t]
          if draw(16) == 0 then
            dmg = dmg * 2
            crits = crits + 1
          end
          if dmg < 1 then dmg = 1 end
          line = heroName[i] .. " hits " .. kindName[mkind[t]] .. " for " .. dmg
          chars = chars + #line
          strike(t, dmg)
        end
      end
    end
  end
  if alive == 0 then
    cleared = cleared + 1
    for i = 1, 4 do
      if hp[i] > 0 then
        hp[i] = hp[i] + 10
        if hp[i] > heroMax[i] then hp[i] = heroMax[i] end
      end
    end
    mp = mp + 5
    if mp > 60 then mp = 60 end
    newWave()
  else
    for m = 1, 3 do
      if mhp[m] > 0 then
        local t = draw(4) + 1
        while hp[t] <= 0 do t = t % 4 + 1 end
        local dmg = matk[m] + draw(4) - heroDef[t]
        if dmg < 1 then dmg = 1 end
        hp[t] = hp[t] - dmg
        line = kindName[mkind[m]] .. " hits " .. heroName[t] .. " for " .. dmg
        chars = chars + #line
        if hp[t] <= 0 then
          fallen = fallen + 1
          standing = standing - 1
          line = heroName[t] .. " falls"
          chars = chars + #line
          if standing == 0 then
            runs = runs + 1
            if wave > best then best = wave end
            newParty()
            newWave()
            break
          end
        end
      end
    end
  end
end
print(runs)
print(cleared)
print(best)
print(wave)
print(slain)
print(fallen)
print(dealt)
print(heals)
print(fireballs)
print(crits)
print(chars)
print(line)
