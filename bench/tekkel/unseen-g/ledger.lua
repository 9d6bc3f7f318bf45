local seed = 99
local function draw(k)
  seed = (seed * 4561 + 51349) % 243000
  return math.floor(seed * k / 243000)
end

local function cents(dollars)
  local d = draw(dollars)
  return d * 100 + draw(100) + 1
end

local function amounttext(c)
  return string.format("%d.%02d", math.floor(c / 100), c % 100)
end

local function money(c, signed)
  local neg = c < 0
  if neg then c = -c end
  local units = math.floor(c / 100)
  local s = string.format(".%02d", c % 100)
  while units >= 1000 do
    s = string.format(",%03d", units % 1000) .. s
    units = math.floor(units / 1000)
  end
  s = string.format("%d", units) .. s
  if neg then
    s = "-" .. s
  elseif signed then
    s = "+" .. s
  end
  return s
end

local balance = {50000, 50000, 50000, 50000}
local lines, chars, refused, richest = 0, 0, 0, 0
local last
local function post(day, what, acct, amount)
  last = string.format("%05d %-8s acct %d %14s %16s", day, what, acct, money(amount, true),
    money(balance[acct], false))
  lines = lines + 1
  chars = chars + #last
  if balance[acct] > richest then richest = balance[acct] end
end

for day = 1, 80000 do
  -- the day's slip, as the clerk writes it
  local kind, slip = draw(10)
  if kind <= 3 then
    local acct = draw(4) + 1
    slip = "dep " .. acct .. " " .. amounttext(cents(2000))
  elseif kind <= 6 then
    local acct = draw(4) + 1
    slip = "wd " .. acct .. " " .. amounttext(cents(2600))
  elseif kind <= 8 then
    local from = draw(4) + 1
    local to = (from + draw(3)) % 4 + 1
    slip = "xfer " .. from .. " " .. to .. " " .. amounttext(cents(1000))
  else
    slip = "int"
  end
  -- the ledger reads it back
  local word, rest = slip:match("^(%a+) ?(.*)$")
  if word == "int" then
    for a = 1, 4 do
      local interest = math.floor((balance[a] + 5000) / 10000)
      balance[a] = balance[a] + interest
      post(day, "interest", a, interest)
    end
  elseif word == "xfer" then
    local from, to, amt = rest:match("^(%d) (%d) (.*)$")
    from, to = tonumber(from), tonumber(to)
    local cents = math.floor(tonumber(amt) * 100 + 0.5)
    if balance[from] >= cents then
      balance[from] = balance[from] - cents
      post(day, "transfer", from, -cents)
      balance[to] = balance[to] + cents
      post(day, "transfer", to, cents)
    else
      refused = refused + 1
      post(day, "refused", from, -cents)
    end
  else
    local acct, amt = rest:match("^(%d) (.*)$")
    acct = tonumber(acct)
    local cents = math.floor(tonumber(amt) * 100 + 0.5)
    if word == "dep" then
      balance[acct] = balance[acct] + cents
      post(day, "deposit", acct, cents)
    elseif balance[acct] >= cents then
      balance[acct] = balance[acct] - cents
      post(day, "withdraw", acct, -cents)
    else
      refused = refused + 1
      post(day, "refused", acct, -cents)
    end
  end
end
print(lines)
print(chars)
print(refused)
print(money(richest, false))
for a = 1, 4 do print(string.format("acct %d: %s", a, money(balance[a], false))) end
print(last)
