local names = {"apple", "bread", "cheese", "potion", "ether", "elixir", "dagger", "shield",
               "arrows", "torch"}
local prices = {45, 120, 310, 500, 1250, 4800, 2999, 7550, 15, 80}
local kinds = {1, 1, 1, 2, 2, 2, 3, 3, 3, 3}
local stock = {}
for i = 1, 10 do stock[i] = 40 end
local points = {}
for m = 1, 8 do points[m] = 0 end

local x = 1
local function draw(k)
  x = (741 * x + 66037) % 312500
  return math.floor(x * k / 312500)
end

local function money(c)
  local cents = c % 100
  local s = math.floor(c / 100) .. "." .. (cents < 10 and "0" or "") .. cents
  while #s < 9 do s = " " .. s end
  return s
end

local revenue, taxes, saved, redeemed, soldout, restocks, longest = 0, 0, 0, 0, 0, 0, 0
local receipt = ""
for customer = 1, 40000 do
  local member = draw(4) == 0
  local id = draw(8) + 1
  local lines = draw(4) + 1
  receipt = "#" .. customer
  local net = 0
  for l = 1, lines do
    local i = draw(10) + 1
    local qty = draw(6) + 1
    local name = names[i]
    while #name < 12 do name = name .. "." end
    if stock[i] < qty then qty = stock[i] end
    if qty == 0 then
      soldout = soldout + 1
      receipt = receipt .. "|" .. name .. "sold out"
    else
      stock[i] = stock[i] - qty
      local line = prices[i] * qty
      local disc = 0
      if kinds[i] == 2 then
        disc = math.floor(qty / 3) * prices[i]
      elseif kinds[i] == 1 and qty >= 5 then
        disc = math.floor(line * 20 / 100)
      end
      line = line - disc
      net = net + line
      saved = saved + disc
      receipt = receipt .. "|" .. name .. "x" .. qty .. money(line)
      if disc > 0 then receipt = receipt .. " (save" .. money(disc) .. ")" end
    end
  end
  if member then
    if net >= 2000 then
      local off = math.floor(net / 10)
      net = net - off
      saved = saved + off
      receipt = receipt .. "|member 10%" .. money(off)
    end
    points[id] = points[id] + math.floor(net / 100)
    if points[id] >= 50 and net >= 500 then
      points[id] = points[id] - 50
      net = net - 500
      redeemed = redeemed + 1
      receipt = receipt .. "|points" .. money(500)
    end
  end
  local tax = math.floor((net * 8 + 50) / 100)
  taxes = taxes + tax
  revenue = revenue + net + tax
  receipt = receipt .. "|tax" .. money(tax) .. "|TOTAL" .. money(net + tax)
  if #receipt > longest then longest = #receipt end
  if customer % 20 == 0 then
    for i = 1, 10 do
      if stock[i] < 15 then
        stock[i] = 40
        restocks = restocks + 1
      end
    end
  end
end
print(string.format("%d", revenue))
print(string.format("%d", taxes))
print(string.format("%d", saved))
print(redeemed)
print(soldout)
print(restocks)
print(longest)
print(receipt)
