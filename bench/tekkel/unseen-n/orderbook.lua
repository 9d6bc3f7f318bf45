-- An auction house's order book for one good, matched by price and then time (see orderbook.tkl).
local seed = 31
local function draw(k)
  seed = (1093 * seed + 18254) % 86436
  return math.floor(seed * k / 86436)
end

local ORDERS, CAP = 150000, 60
local bp, bq, ap, aq = {}, {}, {}, {}
local nb, na, mid = 0, 0, 100
local trades, volume, value, high, low, last = 0, 0, 0, 0, 1000000, 0
local cancelled, filled = 0, 0

local function trade(side, p, t)
  trades = trades + 1
  volume = volume + t
  value = value + p * t
  if p > high then high = p end
  if p < low then low = p end
  last = p
  if trades <= 8 then print(side .. " " .. t .. " @ " .. p) end
end

for o = 1, ORDERS do
  mid = mid + draw(7) - 3
  if mid < 40 then
    mid = 40
  elseif mid > 160 then
    mid = 160
  end
  local side = draw(2)
  local price = mid + draw(13) - 6
  local qty = 1 + draw(20)
  if side == 0 then
    while qty > 0 and na > 0 and ap[na] <= price do
      local t = qty
      if aq[na] < t then t = aq[na] end
      trade("buy", ap[na], t)
      qty = qty - t
      aq[na] = aq[na] - t
      if aq[na] == 0 then na = na - 1 end
    end
    if qty > 0 then
      local j = nb
      while j >= 1 and bp[j] >= price do j = j - 1 end
      for k = nb, j + 1, -1 do
        bp[k + 1] = bp[k]
        bq[k + 1] = bq[k]
      end
      bp[j + 1], bq[j + 1] = price, qty
      nb = nb + 1
      if nb > CAP then
        for k = 1, nb - 1 do
          bp[k] = bp[k + 1]
          bq[k] = bq[k + 1]
        end
        nb = nb - 1
        cancelled = cancelled + 1
      end
    else
      filled = filled + 1
    end
  else
    while qty > 0 and nb > 0 and bp[nb] >= price do
      local t = qty
      if bq[nb] < t then t = bq[nb] end
      trade("sell", bp[nb], t)
      qty = qty - t
      bq[nb] = bq[nb] - t
      if bq[nb] == 0 then nb = nb - 1 end
    end
    if qty > 0 then
      local j = na
      while j >= 1 and ap[j] <= price do j = j - 1 end
      for k = na, j + 1, -1 do
        ap[k + 1] = ap[k]
        aq[k + 1] = aq[k]
      end
      ap[j + 1], aq[j + 1] = price, qty
      na = na + 1
      if na > CAP then
        for k = 1, na - 1 do
          ap[k] = ap[k + 1]
          aq[k] = aq[k + 1]
        end
        na = na - 1
        cancelled = cancelled + 1
      end
    else
      filled = filled + 1
    end
  end
end
print("trades " .. trades .. ", volume " .. volume)
print(string.format("%.15g", value / volume))
print("high " .. high .. ", low " .. low .. ", last " .. last)
print("cancelled " .. cancelled .. ", filled on arrival " .. filled)
print("bids " .. nb .. ", best " .. bp[nb] .. "; asks " .. na .. ", best " .. ap[na])
