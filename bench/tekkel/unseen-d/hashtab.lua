local size = 8191
local keys, hits = {}, {}
for s = 1, size do
  keys[s] = 0
  hits[s] = 0
end
local stored, repeated = 0, 0
local x = 1
for n = 1, 6000 do
  x = (x * 1861 + 49297) % 233280
  local key = x % 20000 + 1
  local s = key % size + 1
  while keys[s] ~= 0 and keys[s] ~= key do
    s = s + 1
    if s > size then s = 1 end
  end
  if keys[s] == key then
    repeated = repeated + 1
  else
    keys[s] = key
    stored = stored + 1
  end
end
local found, probes, longest = 0, 0, 0
local y = 3
for n = 1, 1000000 do
  y = (y * 1366 + 150889) % 714025
  local key = y % 20000 + 1
  local s = key % size + 1
  local p = 1
  while keys[s] ~= 0 and keys[s] ~= key do
    s = s + 1
    if s > size then s = 1 end
    p = p + 1
  end
  probes = probes + p
  if longest < p then longest = p end
  if keys[s] == key then
    found = found + 1
    hits[s] = hits[s] + 1
  end
end
local best, bestKey = 0, 0
for s = 1, size do
  if best < hits[s] then
    best = hits[s]
    bestKey = keys[s]
  end
end
print(stored)
print(repeated)
print(found)
print(probes)
print(longest)
print(bestKey)
print(best)
