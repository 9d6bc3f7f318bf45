-- A bowling league's score sheets (see bowling.tkl).
local seed = 17
local function draw(k)
  seed = (3877 * seed + 29573) % 139968
  return math.floor(seed * k / 139968)
end

local names = {"Ada", "Boris", "Cleo", "Dmitri", "Edda", "Finn", "Greta", "Hugo"}

local function first(skill)
  local p = draw(skill)
  if p > 10 then p = 10 end
  return p
end

local function second(rest)
  local q = draw(rest + 3)
  if q > rest then q = rest end
  return q
end

local function mark(p)
  if p == 0 then return "-" end
  return tostring(p)
end

local total, high, strikesOf = {}, {}, {}
for p = 1, 8 do total[p], high[p], strikesOf[p] = 0, 0, 0 end
local strikes, spares, perfect, cardChars = 0, 0, 0, 0
local best, bestCard, checksum = -1, "", 0

for round = 1, 5000 do
  for player = 1, 8 do
    local skill = player + 10
    local rolls, n = {}, 0
    local card = ""
    for frame = 1, 9 do
      local a = first(skill)
      n = n + 1; rolls[n] = a
      if a == 10 then
        card = card .. "X|"
        strikes = strikes + 1
        strikesOf[player] = strikesOf[player] + 1
      else
        local b = second(10 - a)
        n = n + 1; rolls[n] = b
        card = card .. mark(a)
        if a + b == 10 then
          card = card .. "/|"
          spares = spares + 1
        else
          card = card .. mark(b) .. "|"
        end
      end
    end
    -- the tenth frame
    local a = first(skill)
    n = n + 1; rolls[n] = a
    if a == 10 then
      card = card .. "X"
      strikes = strikes + 1
      strikesOf[player] = strikesOf[player] + 1
      local b = first(skill)
      n = n + 1; rolls[n] = b
      local c
      if b == 10 then
        card = card .. "X"
        strikes = strikes + 1
        strikesOf[player] = strikesOf[player] + 1
        c = first(skill)
        if c == 10 then
          card = card .. "X"
          strikes = strikes + 1
          strikesOf[player] = strikesOf[player] + 1
        else
          card = card .. mark(c)
        end
      else
        card = card .. mark(b)
        c = second(10 - b)
        if b + c == 10 then
          card = card .. "/"
          spares = spares + 1
        else
          card = card .. mark(c)
        end
      end
      n = n + 1; rolls[n] = c
    else
      local b = second(10 - a)
      n = n + 1; rolls[n] = b
      card = card .. mark(a)
      if a + b == 10 then
        card = card .. "/"
        spares = spares + 1
        local c = first(skill)
        n = n + 1; rolls[n] = c
        if c == 10 then
          card = card .. "X"
          strikes = strikes + 1
          strikesOf[player] = strikesOf[player] + 1
        else
          card = card .. mark(c)
        end
      else
        card = card .. mark(b)
      end
    end
    -- the score
    local score, i = 0, 1
    for frame = 1, 10 do
      if rolls[i] == 10 then
        score = score + 10 + rolls[i + 1] + rolls[i + 2]
        i = i + 1
      elseif rolls[i] + rolls[i + 1] == 10 then
        score = score + 10 + rolls[i + 2]
        i = i + 2
      else
        score = score + rolls[i] + rolls[i + 1]
        i = i + 2
      end
    end
    cardChars = cardChars + #card
    total[player] = total[player] + score
    if score > high[player] then high[player] = score end
    if score == 300 then perfect = perfect + 1 end
    if score > best then best, bestCard = score, card end
    checksum = (checksum * 31 + score) % 1000003
  end
end

for p = 1, 8 do
  print(names[p] .. " " .. math.floor(total[p] / 5000) .. " " .. high[p] .. " " .. strikesOf[p])
end
print(strikes)
print(spares)
print(perfect)
print(cardChars)
print(checksum)
print(best .. " " .. bestCard)
