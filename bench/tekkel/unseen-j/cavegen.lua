-- Caves dug by a cellular automaton, smoothed, sorted into caves by flood fill (see cavegen.tkl).
local W, H = 64, 40
local seed = 29
local function draw(k)
  seed = (1021 * seed + 25673) % 121500
  return math.floor(seed * k / 121500)
end

local caves, filled, largest, floors, deadends = 0, 0, 0, 0, 0
local row = ""
local cur, nxt, label, size = {}, {}, {}, {}
for map = 1, 90 do
  for y = 0, H - 1 do
    for x = 0, W - 1 do
      local c = y * W + x + 1
      if x == 0 or y == 0 or x == W - 1 or y == H - 1 then
        cur[c] = 1
      elseif draw(100) < 45 then
        cur[c] = 1
      else
        cur[c] = 0
      end
      nxt[c] = cur[c]
    end
  end
  for pass = 1, 5 do
    for y = 1, H - 2 do
      for x = 1, W - 2 do
        local c = y * W + x + 1
        local n = cur[c - W - 1] + cur[c - W] + cur[c - W + 1] + cur[c - 1] + cur[c + 1] +
                  cur[c + W - 1] + cur[c + W] + cur[c + W + 1]
        if n > 4 then nxt[c] = 1
        elseif n < 4 then nxt[c] = 0
        else nxt[c] = cur[c] end
      end
    end
    cur, nxt = nxt, cur
  end
  -- caves by flood fill from each floor cell not yet labelled
  for c = 1, W * H do label[c] = 0 end
  local count, best = 0, 0
  for c = 1, W * H do
    if cur[c] == 0 and label[c] == 0 then
      count = count + 1
      local stack, top, n = {c}, 1, 0
      label[c] = count
      while top > 0 do
        local d = stack[top]
        top = top - 1
        n = n + 1
        local e = d + 1
        if cur[e] == 0 and label[e] == 0 then label[e] = count; top = top + 1; stack[top] = e end
        e = d + W
        if cur[e] == 0 and label[e] == 0 then label[e] = count; top = top + 1; stack[top] = e end
        e = d - 1
        if cur[e] == 0 and label[e] == 0 then label[e] = count; top = top + 1; stack[top] = e end
        e = d - W
        if cur[e] == 0 and label[e] == 0 then label[e] = count; top = top + 1; stack[top] = e end
      end
      size[count] = n
      if n > best then best = n end
    end
  end
  caves = caves + count
  largest = largest + best
  -- caves too small to reach are filled in
  for c = 1, W * H do
    if cur[c] == 0 then
      if size[label[c]] < 12 then
        cur[c] = 1
        filled = filled + 1
      else
        floors = floors + 1
      end
    end
  end
  -- dead ends: floor with walls on three sides, where treasure goes
  for c = W + 2, W * H - W - 1 do
    if cur[c] == 0 and cur[c - 1] + cur[c + 1] + cur[c - W] + cur[c + W] == 3 then
      deadends = deadends + 1
    end
  end
end
for x = 0, W - 1 do
  if cur[20 * W + x + 1] == 1 then row = row .. "#" else row = row .. "." end
end
print(caves)
print(filled)
print(largest)
print(floors)
print(deadends)
print(row)
