-- a football league of 16 clubs over many seasons: a double round robin by the circle method,
-- goals drawn from chances weighed by the clubs' Elo ratings, the table sorted each season
local prefixes = {"North", "Iron", "Red", "Old", "Port", "East", "Stone", "River"}
local suffixes = {"Rovers", "United", "City", "Athletic"}
local names, rating, titles = {}, {}, {}
local seed = 31
local function draw(k)
  seed = (seed * 2041 + 25673) % 121500
  return math.floor(seed * k / 121500)
end
for i = 0, 15 do
  names[i] = prefixes[i % 8 + 1] .. " " .. suffixes[(i + math.floor(i / 8)) % 4 + 1]
  rating[i] = 1400 + 10 * ((7 * i + 3) % 21)
  titles[i] = 0
end

-- 10^x as e^(x ln 10): the series for a sixteenth of it, squared four times
local function pow10(x)
  local y = x * 2.30258509299405 / 16
  local term, s = 1, 1
  for k = 1, 10 do
    term = term * y / k
    s = s + term
  end
  for k = 1, 4 do s = s * s end
  return s
end

local points, gf, ga, order, ring = {}, {}, {}, {}, {}
local goals, homewins, draws, upsets = 0, 0, 0, 0
local table_text
for season = 1, 600 do
  for i = 0, 15 do
    points[i], gf[i], ga[i] = 0, 0, 0
    ring[i] = i
  end
  for round = 0, 29 do
    for k = 0, 7 do
      local home, away = ring[k], ring[15 - k]
      if round >= 15 then home, away = away, home end
      local e = 1 / (1 + pow10((rating[away] - rating[home] - 60) / 400))
      local hg, ag = 0, 0
      for c = 1, 10 do
        if draw(10000) - (0.12 + 0.12 * e) * 10000 < 0 then hg = hg + 1 end
        if draw(10000) - (0.24 - 0.12 * e) * 10000 < 0 then ag = ag + 1 end
      end
      gf[home], ga[home] = gf[home] + hg, ga[home] + ag
      gf[away], ga[away] = gf[away] + ag, ga[away] + hg
      goals = goals + hg + ag
      local s
      if hg > ag then
        s = 1
        points[home] = points[home] + 3
        homewins = homewins + 1
        if e - 0.5 < 0 then upsets = upsets + 1 end
      elseif hg == ag then
        s = 0.5
        points[home] = points[home] + 1
        points[away] = points[away] + 1
        draws = draws + 1
      else
        s = 0
        points[away] = points[away] + 3
        if e - 0.5 > 0 then upsets = upsets + 1 end
      end
      local change = 24 * (s - e)
      rating[home] = rating[home] + change
      rating[away] = rating[away] - change
    end
    -- the circle method: all but the first club move round one place
    local lastone = ring[15]
    for k = 15, 2, -1 do ring[k] = ring[k - 1] end
    ring[1] = lastone
  end
  -- the table by insertion: points, then goal difference, then goals scored, then the number
  for i = 0, 15 do order[i] = i end
  for i = 1, 15 do
    local c = order[i]
    local j = i - 1
    while j >= 0 do
      local a = order[j]
      local ahead
      if points[c] ~= points[a] then
        ahead = points[c] > points[a]
      elseif gf[c] - ga[c] ~= gf[a] - ga[a] then
        ahead = gf[c] - ga[c] > gf[a] - ga[a]
      else
        ahead = gf[c] > gf[a]
      end
      if not ahead then break end
      order[j + 1] = a
      j = j - 1
    end
    order[j + 1] = c
  end
  titles[order[0]] = titles[order[0]] + 1
  table_text = ""
  for p = 0, 3 do
    local c = order[p]
    local diff = gf[c] - ga[c]
    local sign = ""
    if diff >= 0 then sign = "+" end
    if p > 0 then table_text = table_text .. "|" end
    table_text = table_text .. (p + 1) .. " " .. names[c] .. " " .. points[c] .. " " .. sign .. diff
      .. " " .. math.floor(rating[c] + 0.5)
  end
  for i = 0, 15 do rating[i] = 1500 + (rating[i] - 1500) * 0.8 end
end
local most, best = -1, 0
for i = 0, 15 do
  if titles[i] > most then
    most = titles[i]
    best = i
  end
end
print(goals)
print(homewins)
print(draws)
print(upsets)
print(names[best] .. " " .. most)
print(string.format("%.15g", rating[0]))
print(table_text)
