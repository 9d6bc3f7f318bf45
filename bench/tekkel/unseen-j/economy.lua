-- Caravans trading between five towns whose prices follow their stocks (see economy.tkl).
local seed = 41
local function draw(k)
  seed = (2661 * seed + 36979) % 175000
  return math.floor(seed * k / 175000)
end
local townNames = {"Ashford", "Brindle", "Coldwater", "Dunmere", "Eastwick"}
local goodNames = {"grain", "timber", "iron", "wool", "salt", "spice"}
local base = {4.5, 7.25, 12.0, 6.8, 3.1, 22.5}
local TOWNS, GOODS, CARAVANS, DAYS = 5, 6, 12, 9000

local stock, make, use = {}, {}, {}
for t = 1, TOWNS do
  stock[t], make[t], use[t] = {}, {}, {}
  for g = 1, GOODS do
    stock[t][g] = 60
    make[t][g] = draw(7)
    use[t][g] = draw(6)
  end
end

local function price(t, g)
  return base[g] * 120 / (stock[t][g] + 60)
end

local function money(x)
  local c = math.floor(x * 100 + 0.5)
  local whole, cents = math.floor(c / 100), c % 100
  local text = ""
  while whole >= 1000 do
    local g = whole % 1000
    local pad = ""
    if g < 10 then pad = "00" elseif g < 100 then pad = "0" end
    text = "," .. pad .. g .. text
    whole = math.floor(whole / 1000)
  end
  if cents < 10 then return whole .. text .. ".0" .. cents end
  return whole .. text .. "." .. cents
end

local gold, at, good, qty, days, dest = {}, {}, {}, {}, {}, {}
for c = 1, CARAVANS do
  gold[c], at[c], good[c], qty[c], days[c], dest[c] = 200, (c - 1) % TOWNS + 1, 0, 0, 0, 0
end
local tax, trades, idle, spoiled, chars = 0, 0, 0, 0, 0
local line = ""

for day = 1, DAYS do
  for t = 1, TOWNS do
    for g = 1, GOODS do
      local s = stock[t][g] + make[t][g] - use[t][g]
      if s < 0 then s = 0 end
      if s > 400 then spoiled = spoiled + s - 400; s = 400 end
      stock[t][g] = s
    end
  end
  for c = 1, CARAVANS do
    if days[c] > 0 then
      days[c] = days[c] - 1
      if days[c] == 0 then
        -- arrived: sell the cargo, 5% to the town's treasury
        local t, g, q = dest[c], good[c], qty[c]
        local revenue = q * price(t, g) * 0.92
        tax = tax + revenue * 0.05
        gold[c] = gold[c] + revenue * 0.95
        stock[t][g] = stock[t][g] + q
        at[c], qty[c] = t, 0
        trades = trades + 1
        line = "day " .. day .. ": caravan " .. c .. " sold " .. q .. " " .. goodNames[g] ..
               " in " .. townNames[t] .. " for " .. money(revenue) .. ", purse " .. money(gold[c])
        chars = chars + #line
      end
    end
    if days[c] == 0 then
      -- choose the best trade from here: profit a unit times the load, by the days on the road
      local here = at[c]
      local best, bestTown, bestGood = 0, 0, 0
      for g = 1, GOODS do
        local buy = price(here, g)
        for t = 1, TOWNS do
          if t ~= here then
            local far = t - here
            if far < 0 then far = -far end
            local rate = (price(t, g) * 0.92 - buy) * 40 / (far + 1)
            if rate > best then best, bestTown, bestGood = rate, t, g end
          end
        end
      end
      if bestTown > 0 then
        local buy = price(here, bestGood)
        local q = math.floor(gold[c] / buy)
        if q > 40 then q = 40 end
        if q > stock[here][bestGood] then q = stock[here][bestGood] end
        if q > 0 then
          gold[c] = gold[c] - q * buy
          stock[here][bestGood] = stock[here][bestGood] - q
          good[c], qty[c], dest[c] = bestGood, q, bestTown
          local far = bestTown - here
          if far < 0 then far = -far end
          days[c] = far + 1
        else
          idle = idle + 1
        end
      else
        idle = idle + 1
      end
    end
  end
end

local total, richest = 0, 1
for c = 1, CARAVANS do
  total = total + gold[c]
  if gold[c] > gold[richest] then richest = c end
end
local prices = 0
for t = 1, TOWNS do
  for g = 1, GOODS do prices = prices + price(t, g) end
end
print(money(total))
print(money(tax))
print("richest: caravan " .. richest .. " with " .. money(gold[richest]))
print(trades)
print(idle)
print(spoiled)
print(money(prices))
print(chars)
print(line)
