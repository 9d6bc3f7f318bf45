-- Darts: a checkout table for 2..170 and legs of 501 between two players (see darts.tkl).
local seed = 37
local function draw(k)
  seed = (421 * seed + 54773) % 259200
  return math.floor(seed * k / 259200)
end

local RING = {20, 1, 18, 4, 13, 6, 10, 15, 2, 17, 3, 19, 7, 16, 8, 11, 14, 9, 12, 5}
local LEFT, RIGHT = {}, {}
for i = 1, 20 do
  LEFT[RING[i]] = RING[(i + 18) % 20 + 1]
  RIGHT[RING[i]] = RING[i % 20 + 1]
end

-- a dart is 100 * kind + number: kind 1 single, 2 double, 3 treble; 25 the bull
local SETUP = {}
for n = 20, 1, -1 do SETUP[#SETUP + 1] = 300 + n end
SETUP[#SETUP + 1] = 125
for n = 20, 1, -1 do SETUP[#SETUP + 1] = 100 + n end
for n = 20, 1, -1 do SETUP[#SETUP + 1] = 200 + n end
SETUP[#SETUP + 1] = 225

local function value(d)
  local k = math.floor(d / 100)
  return k * (d - k * 100)
end

local function name(d)
  local k = math.floor(d / 100)
  local n = d - k * 100
  if d == 225 then return "Bull" end
  if k == 3 then return "T" .. n end
  if k == 2 then return "D" .. n end
  return "" .. n
end

-- one[v]: the double worth v; first[s] and darts[s]: the route to finish s
local one, first, darts, route = {}, {}, {}, {}
for v = 1, 170 do one[v] = 0 end
for n = 1, 20 do one[2 * n] = 200 + n end
one[50] = 225
local byDarts = {0, 0, 0}
local bogeys = ""
for s = 2, 170 do
  darts[s] = 0
  if one[s] > 0 then
    first[s], darts[s], route[s] = one[s], 1, name(one[s])
  else
    for i = 1, #SETUP do
      local rest = s - value(SETUP[i])
      if rest > 1 and one[rest] > 0 then
        first[s], darts[s], route[s] = SETUP[i], 2, name(SETUP[i]) .. " " .. name(one[rest])
        break
      end
    end
    if darts[s] == 0 then
      for i = 1, #SETUP do
        local rest = s - value(SETUP[i])
        if rest > 1 and darts[rest] == 2 then
          first[s], darts[s], route[s] = SETUP[i], 3, name(SETUP[i]) .. " " .. route[rest]
          break
        end
      end
    end
  end
  if darts[s] > 0 then
    byDarts[darts[s]] = byDarts[darts[s]] + 1
  else
    bogeys = bogeys .. " " .. s
  end
end
local SHOW = {170, 167, 160, 141, 121, 100, 99, 61, 50, 41, 3, 2}
for i = 1, #SHOW do print(SHOW[i] .. ": " .. route[SHOW[i]]) end
print("one dart " .. byDarts[1] .. ", two " .. byDarts[2] .. ", three " .. byDarts[3])
print("no checkout:" .. bogeys)

local LEGS = 45000
local SKILL = {75, 60}
local won, rem, thrown = {0, 0}, {}, {}
local maxes, busts, highest, wonDarts, allDarts = 0, 0, 0, 0, 0
for leg = 1, LEGS do
  rem[1], rem[2], thrown[1], thrown[2] = 501, 501, 0, 0
  local p = 2 - leg % 2
  local finished = false
  while not finished do
    local start, scored = rem[p], 0
    for dart = 1, 3 do
      local aim = 320
      if rem[p] <= 170 and darts[rem[p]] > 0 then aim = first[rem[p]] end
      local hit = aim
      if draw(100) >= SKILL[p] then
        local k = math.floor(aim / 100)
        local n = aim - k * 100
        local m = draw(4)
        if n == 25 then
          if k == 2 then
            if m < 3 then hit = 125 else hit = 0 end
          else
            hit = 100 + RING[draw(20) + 1]
          end
        elseif m == 0 then
          hit = k * 100 + LEFT[n]
        elseif m == 1 then
          hit = k * 100 + RIGHT[n]
        elseif m == 2 or k ~= 2 then
          hit = 100 + n
        else
          hit = 0
        end
      end
      thrown[p] = thrown[p] + 1
      local v = value(hit)
      local left = rem[p] - v
      if left == 0 and math.floor(hit / 100) == 2 then
        won[p] = won[p] + 1
        wonDarts = wonDarts + thrown[p]
        if start > highest then highest = start end
        finished = true
        break
      end
      if left < 2 then
        rem[p] = start
        busts = busts + 1
        scored = 0
        break
      end
      rem[p] = left
      scored = scored + v
    end
    if scored == 180 then maxes = maxes + 1 end
    p = 3 - p
  end
  allDarts = allDarts + thrown[1] + thrown[2]
end
print("legs won " .. won[1] .. " to " .. won[2])
print("180s " .. maxes .. ", busts " .. busts .. ", highest checkout " .. highest)
print(allDarts)
print(string.format("%.15g", wonDarts / LEGS))
