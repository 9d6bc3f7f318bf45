-- A save game's variables in a hash table keyed by texts (see symtab.tkl).
local chars = "0123456789_abcdefghijklmnopqrstuvwxyz"
local code = {}
for i = 1, #chars do code[chars:sub(i, i)] = i end
local prefixes = {"flag", "npc", "item", "quest", "door", "chest", "rune", "shop"}
local names = {"mira", "orc", "cellar", "tower", "dragon", "bell", "moss", "gate", "king", "well",
               "lark", "ember"}
local SLOTS = 4096
local EMPTY, GONE = "", "-"
local keys, values = {}, {}
for s = 1, SLOTS do keys[s], values[s] = EMPTY, 0 end
local live, gone = 0, 0

local seed = 7
local function draw(k)
  seed = (421 * seed + 17117) % 81000
  return math.floor(seed * k / 81000)
end

local probes, misses, checksum, rehashes = 0, 0, 0, 0

local function hash(key)
  local h = 0
  for i = 1, #key do
    h = (h * 37 + code[key:sub(i, i)]) % 65521
  end
  return h % SLOTS + 1
end

-- the slot holding key, or 0, and the slot a new key would take
local function find(key)
  local s = hash(key)
  local free = 0
  while true do
    probes = probes + 1
    local k = keys[s]
    if k == EMPTY then
      if free == 0 then free = s end
      return 0, free
    elseif k == GONE then
      if free == 0 then free = s end
    elseif k == key then
      return s, free
    end
    s = s % SLOTS + 1
  end
end

local function rehash()
  rehashes = rehashes + 1
  local oldKeys, oldValues, n = {}, {}, 0
  for s = 1, SLOTS do
    if keys[s] ~= EMPTY and keys[s] ~= GONE then
      n = n + 1
      oldKeys[n], oldValues[n] = keys[s], values[s]
    end
    keys[s], values[s] = EMPTY, 0
  end
  gone = 0
  for i = 1, n do
    local _, free = find(oldKeys[i])
    keys[free], values[free] = oldKeys[i], oldValues[i]
  end
end

for op = 1, 55000 do
  local kind = draw(10)
  local prefix = prefixes[draw(8) + 1]
  local noun = names[draw(12) + 1]
  local key = prefix .. "_" .. noun .. "_" .. draw(30)
  local s, free = find(key)
  if kind <= 3 then
    local v = draw(1000)
    if s > 0 then
      values[s] = v
    else
      if keys[free] == GONE then gone = gone - 1 end
      keys[free], values[free] = key, v
      live = live + 1
    end
  elseif kind <= 6 then
    if s > 0 then checksum = (checksum * 7 + values[s]) % 1000003 else misses = misses + 1 end
  elseif kind == 7 then
    if s > 0 then
      values[s] = values[s] + 1
    else
      if keys[free] == GONE then gone = gone - 1 end
      keys[free], values[free] = key, 1
      live = live + 1
    end
  else
    if s > 0 then
      keys[s], values[s] = GONE, 0
      live = live - 1
      gone = gone + 1
    end
  end
  if live + gone > 2400 then rehash() end
end

local sum, best, bestKey = 0, -1, ""
for s = 1, SLOTS do
  if keys[s] ~= EMPTY and keys[s] ~= GONE then
    sum = sum + values[s]
    if values[s] > best then best, bestKey = values[s], keys[s] end
  end
end
print(live)
print(gone)
print(sum)
print(probes)
print(misses)
print(checksum)
print(rehashes)
print(bestKey .. " = " .. best)
