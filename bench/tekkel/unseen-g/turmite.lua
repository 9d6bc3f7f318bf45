local rules = {"RL", "RLR", "LLRR", "LRRRRRLLR", "RRLLLRLLLRRR"}
local dx = {[0] = 0, 1, 0, -1}
local dy = {[0] = -1, 0, 1, 0}
local N = 96
local grid = {}
for r = 1, #rules do
  local rule = rules[r]
  local turn = {}
  for k = 1, #rule do turn[k - 1] = rule:sub(k, k) end
  local colours = #rule
  for p = 1, N * N do grid[p] = 0 end
  local x, y, dir = 48, 48, 0
  for step = 1, 300000 do
    local p = y * N + x + 1
    local c = grid[p]
    if turn[c] == "R" then
      dir = dir + 1
      if dir == 4 then dir = 0 end
    else
      dir = dir - 1
      if dir < 0 then dir = 3 end
    end
    c = c + 1
    if c == colours then c = 0 end
    grid[p] = c
    x = x + dx[dir]
    if x < 0 then x = N - 1 elseif x == N then x = 0 end
    y = y + dy[dir]
    if y < 0 then y = N - 1 elseif y == N then y = 0 end
  end
  local count = {}
  for c = 0, colours - 1 do count[c] = 0 end
  for p = 1, N * N do count[grid[p]] = count[grid[p]] + 1 end
  local line = rule .. ": ant at " .. x .. "," .. y .. " facing " .. dir
    .. ", colours " .. count[0]
  for c = 1, colours - 1 do line = line .. "/" .. count[c] end
  print(line)
end
