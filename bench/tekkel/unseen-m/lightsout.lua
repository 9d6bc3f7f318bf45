-- Boards of the lights-out puzzle solved by chasing the lights down (see lightsout.tkl).
local seed = 5
local function draw(k)
  seed = (seed * 3613 + 45289) % 214326
  return math.floor(seed * k / 214326)
end

local BOARDS = 2000
local board, cells, marks, bestMarks = {}, {}, {}, {}
local presses

local function press(r, c)
  presses = presses + 1
  local i = 5 * (r - 1) + c
  marks[i] = 1
  cells[i] = 1 - cells[i]
  if r ~= 1 then cells[i - 5] = 1 - cells[i - 5] end
  if r ~= 5 then cells[i + 5] = 1 - cells[i + 5] end
  if c ~= 1 then cells[i - 1] = 1 - cells[i - 1] end
  if c ~= 5 then cells[i + 1] = 1 - cells[i + 1] end
end

local solvable, total, fewest, most, shown = 0, 0, 99, -1, false
local tally = {}
for k = 0, 25 do tally[k] = 0 end
for b = 1, BOARDS do
  for i = 1, 25 do board[i] = draw(2) end
  local best = -1
  for pattern = 0, 31 do
    for i = 1, 25 do
      cells[i] = board[i]
      marks[i] = 0
    end
    presses = 0
    local bits = pattern
    for c = 1, 5 do
      local bit = bits % 2
      bits = (bits - bit) / 2
      if bit ~= 0 then press(1, c) end
    end
    for r = 2, 5 do
      for c = 1, 5 do
        if cells[5 * (r - 2) + c] ~= 0 then press(r, c) end
      end
    end
    local dark = true
    for i = 21, 25 do
      if cells[i] ~= 0 then dark = false break end
    end
    if dark and (best == -1 or presses < best) then
      best = presses
      for i = 1, 25 do bestMarks[i] = marks[i] end
    end
  end
  if best >= 0 then
    solvable = solvable + 1
    total = total + best
    if best < fewest then fewest = best end
    if best > most then most = best end
    tally[best] = tally[best] + 1
    if not shown then
      shown = true
      print("board " .. b)
      for r = 1, 5 do
        local line = ""
        for c = 1, 5 do
          if board[5 * (r - 1) + c] ~= 0 then line = line .. "#" else line = line .. "." end
        end
        line = line .. "  "
        for c = 1, 5 do
          if bestMarks[5 * (r - 1) + c] ~= 0 then line = line .. "x" else line = line .. "." end
        end
        print(line)
      end
    end
  end
end
print("solvable " .. solvable .. " of " .. BOARDS)
print(total)
print(fewest)
print(most)
local line = "presses"
for k = 0, 25 do
  if tally[k] > 0 then line = line .. " " .. k .. ":" .. tally[k] end
end
print(line)
