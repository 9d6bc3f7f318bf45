-- a falling-blocks game played by a simple AI: every rotation and column of each piece is
-- dropped and the resulting board weighed (heights, lines, holes, bumpiness); every 25 pieces
-- a row of rubble with one gap rises from the bottom
local shapes = {
  "00 01 02 03", "00 10 20 30", "00 01 02 03", "00 10 20 30",
  "00 01 10 11", "00 01 10 11", "00 01 10 11", "00 01 10 11",
  "00 01 02 11", "01 10 11 21", "01 10 11 12", "00 10 11 20",
  "01 02 10 11", "00 10 11 21", "01 02 10 11", "00 10 11 21",
  "00 01 11 12", "01 10 11 20", "00 01 11 12", "01 10 11 20",
  "00 10 11 12", "00 01 10 20", "00 01 02 12", "01 11 20 21",
  "02 10 11 12", "00 10 20 21", "00 01 02 10", "00 01 11 21",
}
-- each rotation's cells as offsets on the board (10 a row), its width and its height
local offset, width, height = {}, {}, {}
for k = 1, 28 do
  local s = shapes[k]
  width[k], height[k] = 0, 0
  for i = 1, 4 do
    local r = tonumber(s:sub(1, 1))
    local c = tonumber(s:sub(2, 2))
    s = s:sub(4)
    offset[(k - 1) * 4 + i] = r * 10 + c
    if c + 1 > width[k] then width[k] = c + 1 end
    if r + 1 > height[k] then height[k] = r + 1 end
  end
end

local x = 1
local function draw(k)
  x = (x * 4561 + 51349) % 243000
  return math.floor(x * k / 243000)
end

local board = {}
for i = 1, 200 do board[i] = 0 end

local function fits(k, r, c)
  if r + height[k] > 20 then return false end
  local base = r * 10 + c + 1
  for i = 1, 4 do
    if board[base + offset[(k - 1) * 4 + i]] ~= 0 then return false end
  end
  return true
end

local function stamp(k, r, c, v)
  local base = r * 10 + c + 1
  for i = 1, 4 do board[base + offset[(k - 1) * 4 + i]] = v end
end

local function full(r)
  for c = 1, 10 do
    if board[r * 10 + c] == 0 then return false end
  end
  return true
end

local function weigh()
  local lines = 0
  for r = 0, 19 do
    if full(r) then lines = lines + 1 end
  end
  local agg, holes, bump, last = 0, 0, 0, 0
  for c = 1, 10 do
    local i = c
    local h = 20
    while h > 0 and board[i] == 0 do
      i = i + 10
      h = h - 1
    end
    agg = agg + h
    while i <= 200 do
      if board[i] == 0 then holes = holes + 1 end
      i = i + 10
    end
    if c > 1 then
      if h > last then bump = bump + h - last else bump = bump + last - h end
    end
    last = h
  end
  return 760 * lines - 510 * agg - 360 * holes - 180 * bump
end

local pieces, lines, score, games, tetrises, tried, rubble = 0, 0, 0, 1, 0, 0, 0
local gamepieces, longest = 0, 0
local function lost()
  games = games + 1
  if gamepieces > longest then longest = gamepieces end
  gamepieces = 0
  for i = 1, 200 do board[i] = 0 end
end

for n = 1, 700 do
  local p = draw(7) + 1
  local found, best, bk, br, bc = false, 0, 0, 0, 0
  for k = (p - 1) * 4 + 1, p * 4 do
    for c = 0, 10 - width[k] do
      if fits(k, 0, c) then
        local r = 0
        while fits(k, r + 1, c) do r = r + 1 end
        stamp(k, r, c, 1)
        local w = weigh()
        tried = tried + 1
        stamp(k, r, c, 0)
        if not found or w > best then
          found, best, bk, br, bc = true, w, k, r, c
        end
      end
    end
  end
  if not found then
    lost()
  else
    pieces = pieces + 1
    gamepieces = gamepieces + 1
    stamp(bk, br, bc, p)
    local cleared = 0
    local r = 19
    while r >= 0 do
      if full(r) then
        cleared = cleared + 1
        for i = r * 10 + 10, 11, -1 do board[i] = board[i - 10] end
        for i = 1, 10 do board[i] = 0 end
      else
        r = r - 1
      end
    end
    lines = lines + cleared
    if cleared == 1 then score = score + 100
    elseif cleared == 2 then score = score + 300
    elseif cleared == 3 then score = score + 500
    elseif cleared == 4 then
      score = score + 800
      tetrises = tetrises + 1
    end
  end
  if n % 25 == 0 then
    local clear = true
    for i = 1, 10 do
      if board[i] ~= 0 then clear = false end
    end
    if clear then
      for i = 1, 190 do board[i] = board[i + 10] end
      local gap = draw(10) + 191
      for i = 191, 200 do board[i] = 8 end
      board[gap] = 0
      rubble = rubble + 1
    else
      lost()
    end
  end
end
if gamepieces > longest then longest = gamepieces end
local picture = ""
for r = 12, 19 do
  if r > 12 then picture = picture .. "|" end
  for c = 1, 10 do picture = picture .. board[r * 10 + c] end
end
print(pieces)
print(lines)
print(score)
print(games)
print(tetrises)
print(tried)
print(rubble)
print(longest)
print(picture)
