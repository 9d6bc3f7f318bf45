-- A Bloom filter in front of a game server's table of player ids (see bloom.tkl).
local seed = 17
local function nextx()
  seed = (3661 * seed + 30809) % 145800
  return seed
end

local M, N, Q, ROUNDS, KMAX = 5000, 600, 2000, 40, 8
local bits, keys = {}, {}
for i = 1, M do bits[i] = 0 end
local falses, fill = {}, {}
for k = 1, KMAX do
  falses[k] = 0
  fill[k] = 0
end

local pos, step
local function hash(key)
  pos = (1777 * key + 9011) % 65521 % M
  step = (2311 * key + 4093) % 65519 % (M - 1) + 1
end

local trial, missed = 0, 0
local function lookup(key, k)
  hash(key)
  for j = 1, k do
    if bits[pos + 1] ~= trial then return false end
    pos = pos + step
    if pos >= M then pos = pos - M end
  end
  return true
end

for round = 1, ROUNDS do
  for k = 1, KMAX do
    trial = trial + 1
    local set = 0
    for i = 1, N do
      local key = 2 * nextx()
      keys[i] = key
      hash(key)
      for j = 1, k do
        if bits[pos + 1] ~= trial then
          bits[pos + 1] = trial
          set = set + 1
        end
        pos = pos + step
        if pos >= M then pos = pos - M end
      end
    end
    fill[k] = fill[k] + set
    for i = 1, N do
      if not lookup(keys[i], k) then missed = missed + 1 end
    end
    for q = 1, Q do
      if lookup(2 * nextx() + 1, k) then falses[k] = falses[k] + 1 end
    end
  end
end

local best = 1
for k = 1, KMAX do
  print("k " .. k .. ": bits set " .. fill[k] .. ", false positives " .. falses[k])
  print(string.format("%.15g", falses[k] / (ROUNDS * Q)))
  if falses[k] < falses[best] then best = k end
end
print("fewest false positives with k = " .. best)
print("inserted keys missed: " .. missed)
print(trial)
