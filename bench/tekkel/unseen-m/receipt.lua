-- Receipts of a village shop laid out as text (see receipt.tkl).
local seed = 29
local function draw(k)
  seed = (seed * 1277 + 24749) % 117128
  return math.floor(seed * k / 117128)
end

local NAMES = {"apple", "bread", "cheese", "milk", "potion", "arrows x20", "rope", "lantern",
               "map", "tea", "salt", "boots"}
local PRICES = {45, 249, 1299, 119, 2500, 380, 675, 1850, 995, 310, 85, 4999}
local RECEIPTS = 80000

local function money(c)
  local whole = math.floor(c / 100)
  local cents = c - whole * 100
  local s = ""
  while whole >= 1000 do
    local three = whole % 1000
    s = "," .. ("00" .. three):sub(-3) .. s
    whole = math.floor(whole / 1000)
  end
  return whole .. s .. "." .. ("0" .. cents):sub(-2)
end

local function right(s, width)
  return ("                    " .. s):sub(-width)
end

local grand, longest, longestAt, chars = 0, 0, 0, 0
local biggest, biggestText = -1, ""
local first
for r = 1, RECEIPTS do
  local text = "RECEIPT " .. r
  local lines = 1 + draw(8)
  local subtotal, count = 0, 0
  for l = 1, lines do
    local item = draw(12) + 1
    local qty = 1 + draw(5)
    local cost = PRICES[item] * qty
    subtotal = subtotal + cost
    count = count + qty
    text = text .. "\n" .. (NAMES[item] .. "..............."):sub(1, 14) .. " x" .. qty
        .. right(money(cost), 11)
  end
  local discount = 0
  if count >= 12 then discount = math.floor(subtotal * 5 / 100) end
  local tax = math.floor(((subtotal - discount) * 8 + 50) / 100)
  local total = subtotal - discount + tax
  text = text .. "\nsubtotal" .. right(money(subtotal), 19)
  if discount > 0 then text = text .. "\ndiscount" .. right("-" .. money(discount), 19) end
  text = text .. "\ntax 8%" .. right(money(tax), 21) .. "\nTOTAL" .. right(money(total), 22)
  grand = grand + total
  chars = chars + #text
  if #text > longest then
    longest, longestAt = #text, r
  end
  if total > biggest then
    biggest, biggestText = total, text
  end
  if r == 1 then first = text end
end
print(first)
print(biggestText)
print("longest receipt " .. longestAt .. ", " .. longest .. " characters")
print(chars)
print(grand)
print(money(grand))
