local first = {"Ka", "Ro", "Mi", "Tan", "El", "Su", "Lor", "Ai", "Ven", "Dra"}
local rest = {"ka", "ro", "mi", "tan", "el", "su", "lor", "ai", "ven", "dra"}
local guilds = {"Wolf", "Hawk", "Bear", "Fox"}
local N = 160

local x = 3
local function draw(k)
  x = (2041 * x + 25673) % 121500
  return math.floor(x * k / 121500)
end

local function newPlayer()
  local name = first[draw(10) + 1]
  name = name .. rest[draw(10) + 1]
  if draw(2) == 0 then name = name .. rest[draw(10) + 1] end
  local guild = guilds[draw(4) + 1]
  return {name = name, guild = guild, points = 0, time = 600}
end

local function before(a, b)
  if a.points ~= b.points then return a.points > b.points end
  if a.time ~= b.time then return a.time < b.time end
  return a.name < b.name
end

local function pad(s, w)
  while #s < w do s = s .. " " end
  return s
end

local function padLeft(s, w)
  while #s < w do s = " " .. s end
  return s
end

local order = {}
for i = 1, N do order[i] = newPlayer() end
local chars, changes, bestTime, leader = 0, 0, 600, ""
local board = ""
for week = 1, 5000 do
  for m = 1, 30 do
    local a = draw(N) + 1
    local b = draw(N) + 1
    if a ~= b then
      if draw(2) == 1 then a, b = b, a end
      order[a].points = order[a].points + 3
      if draw(4) == 0 then order[b].points = order[b].points + 1 end
    end
  end
  for t = 1, 10 do
    local p = order[draw(N) + 1]
    local time = 90 + draw(400)
    if time < p.time then
      p.time = time
      if time < bestTime then bestTime = time end
    end
  end
  local r = draw(N) + 1
  order[r] = newPlayer()
  for i = 2, N do
    local key = order[i]
    local j = i - 1
    while j >= 1 and before(key, order[j]) do
      order[j + 1] = order[j]
      j = j - 1
    end
    order[j + 1] = key
  end
  board = ""
  for r = 1, 5 do
    local p = order[r]
    local sec = p.time % 60
    local line = padLeft(tostring(r), 3) .. ". " .. pad(p.name, 10) .. pad(p.guild, 5)
      .. padLeft(tostring(p.points), 6) .. " " .. math.floor(p.time / 60) .. ":"
      .. (sec < 10 and "0" or "") .. sec
    if r > 1 then board = board .. "|" end
    board = board .. line
  end
  chars = chars + #board
  if order[1].name ~= leader then
    changes = changes + 1
    leader = order[1].name
  end
end
local total = 0
for i = 1, N do total = total + order[i].points end
print(chars)
print(changes)
print(total)
print(bestTime)
print(board)
