local name = {"wood", "stone", "ore", "coal", "herb", "plank", "iron bar", "stick",
  "pickaxe", "sword", "potion", "lantern", "shield", "house"}
local cost = {1, 1, 3, 2, 1}
local price = {0, 0, 0, 0, 0, 2, 8, 1, 40, 30, 6, 25, 20, 150}
-- a recipe: how many one crafting makes, then the ingredients and how many of each
local recipe = {}
recipe[6] = {4, 1, 1}
recipe[7] = {1, 3, 1, 4, 1}
recipe[8] = {2, 6, 1}
recipe[9] = {1, 7, 3, 8, 2}
recipe[10] = {1, 7, 2, 8, 1}
recipe[11] = {2, 5, 3, 4, 1}
recipe[12] = {1, 7, 1, 4, 2, 11, 1}
recipe[13] = {1, 6, 4, 7, 1}
recipe[14] = {1, 6, 20, 2, 12, 7, 4, 12, 1}
local stock, gathered = {}, {}
for i = 1, 14 do
  stock[i] = 0
  gathered[i] = 0
end
local gold, crafts, calls, sold, chars = 0, 0, 0, 0, 0
local line = ""

local function make(item)
  calls = calls + 1
  if stock[item] > 0 then
    stock[item] = stock[item] - 1
    return
  end
  local r = recipe[item]
  if r == nil then
    gathered[item] = gathered[item] + 1
    gold = gold - cost[item]
    return
  end
  for j = 2, #r, 2 do
    for q = 1, r[j + 1] do make(r[j]) end
  end
  crafts = crafts + 1
  stock[item] = stock[item] + r[1] - 1
end

local x = 5
for order = 1, 50000 do
  x = (x * 4561 + 51349) % 243000
  local item = 6 + math.floor(x * 9 / 243000)
  x = (x * 4561 + 51349) % 243000
  local qty = 1 + math.floor(x * 3 / 243000)
  for u = 1, qty do make(item) end
  local pay = price[item] * qty
  gold = gold + pay
  line = "Order " .. order .. ": " .. qty .. " x " .. name[item] .. " for " .. pay .. " gold"
  chars = chars + #line
  if order % 50 == 0 then
    for i = 6, 14 do
      gold = gold + stock[i] * math.floor(price[i] / 2)
      sold = sold + stock[i]
      stock[i] = 0
    end
  end
end
print(gold)
print(crafts)
print(calls)
print(sold)
for i = 1, 5 do print(gathered[i]) end
print(chars)
print(line)
