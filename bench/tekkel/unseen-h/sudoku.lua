local x = 13
local function draw(k)
  x = (2661 * x + 36979) % 175000
  return math.floor(x * k / 175000)
end

local PUZZLES, BLANK = 1200, 48
local grid, rowUsed, colUsed, boxUsed, empty = {}, {}, {}, {}, {}
local tries, backs, solved, clues = 0, 0, 0, 0
local puzzle, first = "", ""
for p = 1, PUZZLES do
  -- a solved grid from the usual pattern, its digits and rows and columns shuffled
  local perm = {1, 2, 3, 4, 5, 6, 7, 8, 9}
  for i = 9, 2, -1 do
    local j = draw(i) + 1
    perm[i], perm[j] = perm[j], perm[i]
  end
  local rows, cols = {}, {}
  for i = 0, 8 do rows[i] = i; cols[i] = i end
  for b = 0, 2 do
    local a = b * 3 + draw(3)
    local c = b * 3 + draw(3)
    rows[a], rows[c] = rows[c], rows[a]
    a = b * 3 + draw(3)
    c = b * 3 + draw(3)
    cols[a], cols[c] = cols[c], cols[a]
  end
  puzzle = ""
  for r = 0, 8 do
    for c = 0, 8 do
      local rr, cc = rows[r], cols[c]
      local d = perm[(rr * 3 + math.floor(rr / 3) + cc) % 9 + 1]
      if draw(100) < BLANK then puzzle = puzzle .. "." else puzzle = puzzle .. d end
    end
  end
  -- read the puzzle
  for i = 1, 243 do rowUsed[i], colUsed[i], boxUsed[i] = false, false, false end
  local n = 0
  for cell = 0, 80 do
    local ch = puzzle:sub(cell + 1, cell + 1)
    local r, c = math.floor(cell / 9), cell % 9
    local b = math.floor(r / 3) * 3 + math.floor(c / 3)
    if ch == "." then
      grid[cell] = 0
      n = n + 1
      empty[n] = cell
    else
      local d = tonumber(ch)
      grid[cell] = d
      rowUsed[r * 9 + d] = true
      colUsed[c * 9 + d] = true
      boxUsed[b * 9 + d] = true
      clues = clues + 1
    end
  end
  -- backtracking over the empty cells in order
  local k = 1
  while k >= 1 and k <= n do
    local cell = empty[k]
    local r, c = math.floor(cell / 9), cell % 9
    local b = math.floor(r / 3) * 3 + math.floor(c / 3)
    local d = grid[cell]
    if d > 0 then
      rowUsed[r * 9 + d], colUsed[c * 9 + d], boxUsed[b * 9 + d] = false, false, false
    end
    d = d + 1
    while d <= 9 and (rowUsed[r * 9 + d] or colUsed[c * 9 + d] or boxUsed[b * 9 + d]) do
      d = d + 1
    end
    if d <= 9 then
      grid[cell] = d
      rowUsed[r * 9 + d], colUsed[c * 9 + d], boxUsed[b * 9 + d] = true, true, true
      tries = tries + 1
      k = k + 1
    else
      grid[cell] = 0
      backs = backs + 1
      k = k - 1
    end
  end
  if k > n then solved = solved + 1 end
  first = ""
  for c = 0, 8 do first = first .. grid[c] end
end
print(tries)
print(backs)
print(solved)
print(clues)
print(puzzle)
print(first)
