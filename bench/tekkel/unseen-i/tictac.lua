-- noughts and crosses: a player searching the whole game tree by negamax with alpha-beta
-- pruning against one who moves at random half of the time
local lines = {1, 2, 3, 4, 5, 6, 7, 8, 9, 1, 4, 7, 2, 5, 8, 3, 6, 9, 1, 5, 9, 3, 5, 7}
local board = {}
local x = 42
local function draw(k)
  x = (x * 1366 + 150889) % 714025
  return math.floor(x * k / 714025)
end

-- the lines through each cell, ended by 0
local through = {}
for m = 1, 9 do
  through[m] = {}
  for l = 0, 7 do
    for k = 1, 3 do
      if lines[3 * l + k] == m then through[m][#through[m] + 1] = l end
    end
  end
  through[m][#through[m] + 1] = -1
end

local nodes = 0
local function wins(p, m)
  local k = 1
  while through[m][k] >= 0 do
    local l = through[m][k]
    if board[lines[3 * l + 1]] == p and board[lines[3 * l + 2]] == p
        and board[lines[3 * l + 3]] == p then
      return true
    end
    k = k + 1
  end
  return false
end

local bestmove
local function negamax(p, depth, alpha, beta, last)
  nodes = nodes + 1
  if last > 0 and wins(3 - p, last) then return depth - 10 end
  local best = -100
  local moved = false
  for m = 1, 9 do
    if board[m] == 0 then
      moved = true
      board[m] = p
      local v = -negamax(3 - p, depth + 1, -beta, -alpha, m)
      board[m] = 0
      if v > best then
        best = v
        if depth == 0 then bestmove = m end
      end
      if best > alpha then alpha = best end
      if alpha >= beta then break end
    end
  end
  if not moved then return 0 end
  return best
end

local xwins, owins, draws, moves, searches = 0, 0, 0, 0, 0
local record = ""
for g = 1, 90 do
  for m = 1, 9 do board[m] = 0 end
  local p = 1
  if g % 2 == 0 then p = 2 end
  local turn = 0
  local game = ""
  local result = 0
  while true do
    turn = turn + 1
    local m
    if turn == 1 or (p == 2 and draw(2) == 0) then
      -- a random move onto a free cell
      local k = draw(10 - turn) + 1
      m = 0
      while k > 0 do
        m = m + 1
        if board[m] == 0 then k = k - 1 end
      end
    else
      negamax(p, 0, -100, 100, 0)
      searches = searches + 1
      m = bestmove
    end
    board[m] = p
    moves = moves + 1
    game = game .. m
    if wins(p, m) then
      result = p
      break
    end
    if turn == 9 then break end
    p = 3 - p
  end
  if result == 1 then xwins = xwins + 1
  elseif result == 2 then owins = owins + 1
  else draws = draws + 1 end
  if result == 1 then game = game .. "x" elseif result == 2 then game = game .. "o" else game = game .. "=" end
  if g > 80 then record = record .. " " .. game end
end
print(xwins)
print(owins)
print(draws)
print(moves)
print(searches)
print(nodes)
print(record)
