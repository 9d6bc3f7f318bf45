-- Monster loot drawn from weighted tables into an adventurer's bag (see loot.tkl).
local seed = 31
local function draw(k)
  seed = (1277 * seed + 24749) % 117128
  return math.floor(seed * k / 117128)
end

local items = {"copper coin", "silver coin", "gold coin", "bone", "fang", "pelt", "dagger",
               "short sword", "long sword", "leather cap", "iron helm", "healing herb", "potion",
               "elixir", "torch", "rope", "map scrap", "ruby", "sapphire", "emerald", "amulet",
               "ring", "crown", "dragon scale"}
local KILLS = 300000

local value = {}
for i = 1, 24 do
  if i < 18 then value[i] = i * 5 else value[i] = 100 + 25 * (i - 17) end
end

-- eight monsters, six entries each: the item and its weight
local entry, weight, total = {}, {}, {}
for m = 1, 8 do
  total[m] = 0
  for e = 1, 6 do
    local it = draw(24) + 1
    local w
    if it >= 18 then w = draw(3) + 1 else w = draw(50) + 1 end
    entry[(m - 1) * 6 + e] = it
    weight[(m - 1) * 6 + e] = w
    total[m] = total[m] + w
  end
end

local bagName, bagCount, bag = {}, {}, 0
local gold, rares, pity, dry, longest = 0, 0, 0, 0, 0
for kill = 1, KILLS do
  local m = draw(8) + 1
  local it
  if dry >= 60 then
    -- the monster's rarest entry, the first of equals
    local best = 1
    for e = 2, 6 do
      if weight[(m - 1) * 6 + e] < weight[(m - 1) * 6 + best] then best = e end
    end
    it = entry[(m - 1) * 6 + best]
    pity = pity + 1
  else
    local r = draw(total[m])
    local e = 1
    while r >= weight[(m - 1) * 6 + e] do
      r = r - weight[(m - 1) * 6 + e]
      e = e + 1
    end
    it = entry[(m - 1) * 6 + e]
  end
  if it >= 18 then
    rares = rares + 1
    dry = 0
  else
    dry = dry + 1
    if dry > longest then longest = dry end
  end
  local qty = 1
  if it <= 3 then qty = draw(20) + 1 end
  gold = gold + value[it] * qty
  local name = items[it]
  local s = 1
  while s <= bag and bagName[s] ~= name do s = s + 1 end
  if s > bag then
    bag = s
    bagName[s] = name
    bagCount[s] = 0
  end
  bagCount[s] = bagCount[s] + qty
end

print(gold)
print(rares)
print(pity)
print(longest)
print(bag)
local checksum = 0
for s = 1, bag do checksum = (checksum * 17 + bagCount[s]) % 1000003 end
print(checksum)
for k = 1, 3 do
  local best = 1
  for s = 2, bag do
    if bagCount[s] > bagCount[best] then best = s end
  end
  print(bagName[best] .. " " .. bagCount[best])
  bagCount[best] = -1
end
