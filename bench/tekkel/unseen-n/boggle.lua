-- Word grids searched for the words of a small dictionary (see boggle.tkl).
local seed = 5
local function draw(k)
  seed = (2661 * seed + 36979) % 175000
  return math.floor(seed * k / 175000)
end

local LETTERS = "eeeeeeaaaaaiiiiooooottttnnnnnsssssrrrrllllddduuhcmpgbyw"
local WORDLIST = "tea ten net ant art rat tar star rate tier tire rose sore ore one toe note tone "
  .. "stone notes rest test sent nest east seat eats sane lane line lion loin toil tile lint slot "
  .. "lost silo soil oil nose rise rite tide side dies dune tune unit suit inset stain satin "
  .. "train saint insert stolen senior toenail"
local GRIDS = 1400

local words, letters, lens = {}, {}, {}
for w in string.gmatch(WORDLIST, "%S+") do
  words[#words + 1] = w
  local l = {}
  for i = 1, #w do l[i] = w:sub(i, i) end
  letters[#words] = l
  lens[#words] = #w
end
local NW = #words

local grid, used = {}, {}
for i = 1, 49 do
  grid[i] = "#"
  used[i] = false
end
local OFF = {-8, -7, -6, -1, 1, 6, 7, 8}
local POINTS = {0, 0, 1, 1, 2, 3, 5, 11, 11, 11}
local path, dir = {}, {}

local function find(w, L)
  for cell = 9, 41 do
    if grid[cell] == w[1] then
      local depth = 1
      path[1], dir[1], used[cell] = cell, 0, true
      while depth > 0 do
        if depth == L then
          for d = 1, depth do used[path[d]] = false end
          return true
        end
        dir[depth] = dir[depth] + 1
        if dir[depth] > 8 then
          used[path[depth]] = false
          depth = depth - 1
        else
          local nc = path[depth] + OFF[dir[depth]]
          if not used[nc] and grid[nc] == w[depth + 1] then
            depth = depth + 1
            path[depth], dir[depth], used[nc] = nc, 0, true
          end
        end
      end
    end
  end
  return false
end

local tally = {}
for j = 1, NW do tally[j] = 0 end
local totalFound, totalScore = 0, 0
local best, bestGrid, bestRows, bestList = -1, 0, "", ""
for g = 1, GRIDS do
  local rows = ""
  for r = 1, 5 do
    for c = 1, 5 do
      local k = draw(#LETTERS) + 1
      local ch = LETTERS:sub(k, k)
      grid[r * 7 + c + 1] = ch
      rows = rows .. ch
    end
    if r < 5 then rows = rows .. "/" end
  end
  local found, score, list = 0, 0, ""
  for j = 1, NW do
    if find(letters[j], lens[j]) then
      found = found + 1
      score = score + POINTS[lens[j]]
      tally[j] = tally[j] + 1
      if list == "" then list = words[j] else list = list .. " " .. words[j] end
    end
  end
  totalFound = totalFound + found
  totalScore = totalScore + score
  if g == 1 then
    print("grid 1: " .. rows)
    print(found .. " words, " .. score .. " points: " .. list)
  end
  if score > best then
    best, bestGrid, bestRows, bestList = score, g, rows, list
  end
end
print("best grid " .. bestGrid .. ": " .. bestRows)
print(best .. " points: " .. bestList)
local most, never = 1, 0
for j = 1, NW do
  if tally[j] > tally[most] then most = j end
  if tally[j] == 0 then never = never + 1 end
end
print("most found: " .. words[most] .. " in " .. tally[most] .. " grids")
print("never found: " .. never .. " of " .. NW)
for j = NW - 4, NW do print(words[j] .. " " .. tally[j]) end
print(totalFound)
print(totalScore)
