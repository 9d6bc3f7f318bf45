local B, M = {}, {}
local x = 77
local function draw(k)
  x = (x * 1029 + 221591) % 1048576
  return math.floor(x * k / 1048576)
end
local valid, invalid, cleared, score, best = 0, 0, 0, 0, 0

-- marks every gem in a row or column of three alike; answers how many are marked
local function mark()
  local n = 0
  for r = 0, 7 do
    for c = 1, 6 do
      local p = r * 8 + c
      local g = B[p]
      if B[p + 1] == g and B[p + 2] == g then
        M[p], M[p + 1], M[p + 2] = 1, 1, 1
        n = n + 1
      end
    end
  end
  for p = 1, 48 do
    local g = B[p]
    if B[p + 8] == g and B[p + 16] == g then
      M[p], M[p + 8], M[p + 16] = 1, 1, 1
      n = n + 1
    end
  end
  return n
end

-- clears the marked gems, lets the others fall and fills the columns from the top
local function fall()
  local n = 0
  for c = 1, 8 do
    local w = 56 + c
    for p = 56 + c, 1, -8 do
      if M[p] == 1 then
        M[p] = 0
        n = n + 1
      else
        B[w] = B[p]
        w = w - 8
      end
    end
    while w > 0 do
      B[w] = draw(6) + 1
      w = w - 8
    end
  end
  return n
end

-- a new board of drawn gems, with the rows of three it happens to hold cleared unscored
local function deal()
  for p = 1, 64 do B[p] = draw(6) + 1 end
  while mark() > 0 do fall() end
end

for p = 1, 64 do M[p] = 0 end
deal()
local shuffles, miss = 0, 0
for move = 1, 40000 do
  local p = draw(64) + 1
  local q
  if draw(2) == 0 then
    if p % 8 == 0 then q = p - 1 else q = p + 1 end
  else
    if p > 56 then q = p - 8 else q = p + 8 end
  end
  B[p], B[q] = B[q], B[p]
  if mark() == 0 then
    B[p], B[q] = B[q], B[p]
    invalid = invalid + 1
    miss = miss + 1
    if miss == 20 then
      shuffles = shuffles + 1
      miss = 0
      deal()
    end
  else
    valid = valid + 1
    miss = 0
    local combo = 0
    repeat
      combo = combo + 1
      local n = fall()
      cleared = cleared + n
      score = score + n * combo
    until mark() == 0
    if combo > best then best = combo end
  end
end
local board = ""
for p = 1, 64 do board = board .. B[p] end
print(valid)
print(invalid)
print(cleared)
print(score)
print(best)
print(shuffles)
print(board)
