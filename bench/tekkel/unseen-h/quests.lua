local x = 17
local function draw(k)
  x = (1861 * x + 49297) % 233280
  return math.floor(x * k / 233280)
end

local s = {gold = 20, rep = 0, level = 1, herbs = 0, ore = 0, wolves = 0, hp = 25, maxhp = 25,
           herbQuest = 0, wolfQuest = 0, letterQuest = 0, herbDay = 0, wolfDay = 0,
           letterDay = 0, herbDone = 0, wolfDone = 0, letterDone = 0, upgrades = 0,
           faints = 0, robbed = 0}
local day = 0

local function free(stage, since)
  return stage == 0 or (stage == 2 and day - since >= 7)
end

local function faint(line)
  s.gold = math.floor(s.gold / 2)
  s.hp = s.maxhp
  s.faints = s.faints + 1
  return line .. ", fainted"
end

local handlers = {}
function handlers.healer(a, b)
  local line = "the healer"
  if free(s.herbQuest, s.herbDay) then
    s.herbQuest = 1
    s.herbs = 0
    line = "the healer asks for five herbs"
  elseif s.herbQuest == 1 and s.herbs >= 5 then
    s.herbs = s.herbs - 5
    s.gold = s.gold + 30
    s.rep = s.rep + 2
    s.herbQuest = 2
    s.herbDay = day
    s.herbDone = s.herbDone + 1
    line = "herbs for the healer, 30 gold"
  end
  if s.hp < s.maxhp and s.gold >= 5 then
    s.gold = s.gold - 5
    s.hp = s.maxhp
    line = line .. ", healed"
  end
  return line
end
function handlers.forest(a, b)
  local line = "the forest"
  if s.herbQuest == 1 then
    local n = a % 3
    s.herbs = s.herbs + n
    line = "picked " .. n .. " herbs"
  end
  if s.wolfQuest == 1 and s.wolves < 3 then
    local wolf = 4 + b % 14
    if s.level * 2 + a % 6 >= wolf then
      s.wolves = s.wolves + 1
      line = line .. ", a wolf slain"
    else
      s.hp = s.hp - wolf
      line = line .. ", bitten for " .. wolf
      if s.hp <= 0 then line = faint(line) end
    end
  elseif s.herbQuest ~= 1 and b < 25 then
    s.gold = s.gold + 1
    line = "a coin in the moss"
  end
  return line
end
function handlers.hunter(a, b)
  local line = "the hunter"
  if free(s.wolfQuest, s.wolfDay) and s.rep >= 3 then
    s.wolfQuest = 1
    s.wolves = 0
    line = "the hunter wants three wolves"
  elseif s.wolfQuest == 1 and s.wolves >= 3 then
    s.gold = s.gold + 50
    s.rep = s.rep + 3
    s.wolfQuest = 2
    s.wolfDay = day
    s.wolfDone = s.wolfDone + 1
    line = "three wolves for the hunter, 50 gold"
  end
  return line
end
function handlers.inn(a, b)
  local line = "the inn"
  if free(s.letterQuest, s.letterDay) then
    s.letterQuest = 1
    line = "a letter for the castle"
  end
  if s.gold >= 3 then
    s.gold = s.gold - 3
    s.hp = s.hp + 5
    if s.hp > s.maxhp then s.hp = s.maxhp end
    line = line .. ", a meal"
  end
  return line
end
function handlers.road(a, b)
  local line = "the road"
  if s.letterQuest == 1 and a < 20 then
    local lost = math.floor(s.gold / 4)
    s.letterQuest = 0
    s.gold = s.gold - lost
    s.robbed = s.robbed + 1
    line = "robbed of the letter and " .. lost .. " gold"
  end
  return line
end
function handlers.castle(a, b)
  local line = "the castle"
  if s.letterQuest == 1 then
    s.gold = s.gold + 25
    s.rep = s.rep + 1
    s.letterQuest = 2
    s.letterDay = day
    s.letterDone = s.letterDone + 1
    line = "the letter delivered, 25 gold"
  end
  return line
end
function handlers.mine(a, b)
  local n = 1 + a % 2
  s.ore = s.ore + n
  s.hp = s.hp - b % 5
  local line = "dug " .. n .. " ore"
  if s.hp <= 0 then line = faint(line) end
  return line
end
function handlers.smithy(a, b)
  local line = "the smithy"
  local l = s.level
  if l < 8 and s.ore >= 3 * l and s.gold >= 20 * l then
    s.ore = s.ore - 3 * l
    s.gold = s.gold - 20 * l
    s.level = l + 1
    s.maxhp = 20 + 5 * s.level
    s.upgrades = s.upgrades + 1
    line = "the sword is now level " .. s.level
  end
  return line
end

local places = {"healer", "forest", "hunter", "inn", "road", "castle", "mine", "smithy"}
local journal, chars = "", 0
for d = 1, 250000 do
  day = d
  local place = places[draw(8) + 1]
  local a = draw(100)
  local b = draw(100)
  local line = handlers[place](a, b)
  chars = chars + #line
  journal = journal .. "|D" .. day .. " " .. line
  if #journal > 200 then journal = journal:sub(-120) end
end
print(s.gold)
print(s.rep)
print(s.level)
print(s.ore)
print(s.herbDone)
print(s.wolfDone)
print(s.letterDone)
print(s.upgrades)
print(s.faints)
print(s.robbed)
print(chars)
print(journal)
