local pegs, height = {}, {}
local moves, checksum, wrong, depth, deepest = 0, 0, 0, 0, 0

local function move(disk, from, to)
  local top = pegs[from][height[from]]
  if top ~= disk then wrong = wrong + 1 end
  height[from] = height[from] - 1
  if height[to] > 0 and pegs[to][height[to]] < disk then wrong = wrong + 1 end
  height[to] = height[to] + 1
  pegs[to][height[to]] = disk
  moves = moves + 1
  checksum = (checksum * 7 + disk * 9 + from * 3 + to) % 1000003
end

local function solve(n, from, to, via)
  if n == 0 then return end
  depth = depth + 1
  if depth > deepest then deepest = depth end
  solve(n - 1, from, via, to)
  depth = depth - 1
  move(n, from, to)
  solve(n - 1, via, to, from)
end

local last
for n = 1, 18 do
  pegs = {{}, {}, {}}
  height = {n, 0, 0}
  for k = 1, n do pegs[1][k] = n + 1 - k end
  solve(n, 1, 3, 2)
  last = ""
  for k = 1, height[3] do last = last .. " " .. pegs[3][k] end
end
print(moves)
print(checksum)
print(wrong)
print(deepest)
print(last)
