local grid, dist, queue = {}, {}, {}
local x = 11
local i = 0
for row = 0, 65 do
  for col = 0, 65 do
    i = i + 1
    grid[i] = -2
    if row > 0 and row < 65 and col > 0 and col < 65 then
      x = (x * 3877 + 29573) % 139968
      if x >= 39190 then grid[i] = -1 end
    end
  end
end
local sum, reached, farthest, onRock = 0, 0, 0, 0
for fill = 1, 500 do
  x = (x * 3877 + 29573) % 139968
  local col = x % 64 + 1
  local row = math.floor(x / 64) % 64 + 1
  local s = row * 66 + col + 1
  if grid[s] == -2 then
    onRock = onRock + 1
  else
    for k = 1, 4356 do dist[k] = grid[k] end
    dist[s] = 0
    queue[1] = s
    local head, tail = 1, 1
    local d
    while head <= tail do
      local c = queue[head]
      head = head + 1
      d = dist[c]
      sum = sum + d
      d = d + 1
      local n = c - 66
      if dist[n] == -1 then dist[n] = d; tail = tail + 1; queue[tail] = n end
      n = c + 66
      if dist[n] == -1 then dist[n] = d; tail = tail + 1; queue[tail] = n end
      n = c - 1
      if dist[n] == -1 then dist[n] = d; tail = tail + 1; queue[tail] = n end
      n = c + 1
      if dist[n] == -1 then dist[n] = d; tail = tail + 1; queue[tail] = n end
    end
    reached = reached + tail
    if farthest < d - 1 then farthest = d - 1 end
  end
end
print(sum)
print(reached)
print(farthest)
print(onRock)
