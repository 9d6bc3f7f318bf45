-- A* path search with a binary heap on weighted grids (see astar.tkl).
local W = 50
local seed = 11
local function draw(k)
  seed = (1093 * seed + 18257) % 86436
  return math.floor(seed * k / 86436)
end

local terrain = {}
local g, gstamp, parent, closed = {}, {}, {}, {}
for c = 1, W * W do gstamp[c], closed[c] = 0, 0 end
local letters = {"E", "S", "W", "N"}
local offsets = {1, W, -1, -W}
local stamp = 0
local found, costs, expanded, steps, deepest = 0, 0, 0, 0, 0
local path = ""

local function opencell()
  while true do
    local y = draw(W - 2) + 1
    local x = draw(W - 2) + 1
    local c = y * W + x + 1
    if terrain[c] > 0 then return c end
  end
end

for map = 1, 5 do
  -- a map: a wall round the edge, inside walls, swamps, woods and plains
  local walls = 0
  for y = 0, W - 1 do
    for x = 0, W - 1 do
      local c = y * W + x + 1
      if x == 0 or y == 0 or x == W - 1 or y == W - 1 then
        terrain[c] = 0
      else
        local d = draw(100)
        if d < 26 then terrain[c] = 0; walls = walls + 1
        elseif d < 36 then terrain[c] = 5
        elseif d < 56 then terrain[c] = 2
        else terrain[c] = 1 end
      end
    end
  end
  for search = 1, 100 do
    local start, goal = opencell(), opencell()
    local gy = math.floor((goal - 1) / W)
    local gx = (goal - 1) % W
    stamp = stamp + 1
    local heap, n = {}, 0
    local function push(key)
      n = n + 1
      local i = n
      while i > 1 do
        local p = math.floor(i / 2)
        if heap[p] <= key then break end
        heap[i] = heap[p]
        i = p
      end
      heap[i] = key
      if n > deepest then deepest = n end
    end
    local function pop()
      local top = heap[1]
      local last = heap[n]
      n = n - 1
      local i = 1
      while true do
        local child = 2 * i
        if child > n then break end
        if child < n and heap[child + 1] < heap[child] then child = child + 1 end
        if heap[child] >= last then break end
        heap[i] = heap[child]
        i = child
      end
      if n > 0 then heap[i] = last end
      return top
    end
    local function h(c)
      local y = math.floor((c - 1) / W)
      local x = (c - 1) % W
      local dx, dy = x - gx, y - gy
      if dx < 0 then dx = -dx end
      if dy < 0 then dy = -dy end
      return dx + dy
    end
    g[start], gstamp[start] = 0, stamp
    local hs = h(start)
    push((hs * 128 + hs) * 4096 + start)
    local reached = false
    while n > 0 do
      local key = pop()
      local c = key % 4096
      if closed[c] ~= stamp then
        closed[c] = stamp
        expanded = expanded + 1
        if c == goal then reached = true; break end
        for d = 1, 4 do
          local m = c + offsets[d]
          local cost = terrain[m]
          if cost > 0 and closed[m] ~= stamp then
            local ng = g[c] + cost
            if gstamp[m] ~= stamp or ng < g[m] then
              g[m], gstamp[m], parent[m] = ng, stamp, d
              local hm = h(m)
              push(((ng + hm) * 128 + hm) * 4096 + m)
            end
          end
        end
      end
    end
    if reached then
      found = found + 1
      costs = costs + g[goal]
      path = ""
      local c = goal
      while c ~= start do
        local d = parent[c]
        path = letters[d] .. path
        c = c - offsets[d]
        steps = steps + 1
      end
    end
  end
end
print(found)
print(costs)
print(expanded)
print(steps)
print(deepest)
print(path)
