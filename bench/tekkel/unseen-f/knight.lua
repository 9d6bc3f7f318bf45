local W = 16
local off = {-33, -31, -18, -14, 14, 18, 31, 33}
local seq = {}
for order = 0, 15 do
  for j = 0, 7 do
    local m
    if order < 8 then m = (order + j) % 8 else m = (order - j) % 8 end
    seq[order * 8 + j + 1] = off[m + 1]
  end
end
local B = {}
local visited, closed = 0, 0
for size = 8, 9 do
  local complete, shortest = 0, 1000
  local cells = size * size
  for order = 0, 15 do
    local base = order * 8
    for start = 0, cells - 1 do
      for i = 1, W * W do B[i] = -1 end
      for r = 2, size + 1 do
        for c = 2, size + 1 do B[r * W + c + 1] = 0 end
      end
      local p = (math.floor(start / size) + 2) * W + start % size + 3
      local s = p
      local step = 1
      B[p] = 1
      while true do
        local best, bestDeg = 0, 9
        for j = base + 1, base + 8 do
          local n = p + seq[j]
          if B[n] == 0 then
            local deg = 0
            for k = 1, 8 do
              if B[n + off[k]] == 0 then deg = deg + 1 end
            end
            if deg < bestDeg then best, bestDeg = n, deg end
          end
        end
        if best == 0 then break end
        p = best
        step = step + 1
        B[p] = step
      end
      visited = visited + step
      if step < shortest then shortest = step end
      if step == cells then
        complete = complete + 1
        for k = 1, 8 do
          if p + off[k] == s then closed = closed + 1 end
        end
      end
    end
  end
  print(complete)
  print(shortest)
end
local row = ""
for c = 2, 10 do row = row .. " " .. B[2 * W + c + 1] end
print(closed)
print(visited)
print(row)
