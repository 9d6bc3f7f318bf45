local W = 40
local grid = {}
for r = 0, W + 1 do
  local row = {}
  for c = 0, W + 1 do row[c] = 0 end
  grid[r] = row
end
local x = 3
local sweeps, topples = 0, 0
for drop = 1, 32 do
  x = (x * 5 + 1) % 1024
  local r, c = x % 32 + 5, x // 32 + 5
  grid[r][c] = grid[r][c] + 400
  repeat
    local toppled = false
    sweeps = sweeps + 1
    for r = 1, W do
      local up, row, down = grid[r - 1], grid[r], grid[r + 1]
      for c = 1, W do
        local v = row[c]
        if v >= 4 then
          local q = v // 4
          row[c] = v % 4
          row[c - 1] = row[c - 1] + q
          row[c + 1] = row[c + 1] + q
          up[c] = up[c] + q
          down[c] = down[c] + q
          topples = topples + 1
          toppled = true
        end
      end
    end
  until not toppled
end
local counts = {[0] = 0, 0, 0, 0}
for r = 1, W do
  for c = 1, W do
    local v = grid[r][c]
    counts[v] = counts[v] + 1
  end
end
local lost = 0
for i = 1, W do
  lost = lost + grid[0][i] + grid[W + 1][i] + grid[i][0] + grid[i][W + 1]
end
print(sweeps)
print(topples)
print(counts[0])
print(counts[1])
print(counts[2])
print(counts[3])
print(lost)
