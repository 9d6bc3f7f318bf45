local W = 43
local G, stack, cand = {}, {}, {}
local off = {-W, 1, W, -1}
local x = 3
local function draw(k)
  x = (x * 1277 + 24749) % 117128
  return math.floor(x * k / 117128)
end
for i = 1, W * W do G[i] = 2 end
local start, goal = 2 * W + 3, 40 * W + 41
local total, longest, shortest, deadEnds = 0, 0, 1000000, 0
for maze = 1, 600 do
  for r = 1, 41 do
    for c = 1, 41 do G[r * W + c + 1] = 0 end
  end
  G[start] = 1
  local sp = 1
  stack[1] = start
  while sp > 0 do
    local cur = stack[sp]
    local n = 0
    for d = 1, 4 do
      if G[cur + 2 * off[d]] == 0 then
        n = n + 1
        cand[n] = d
      end
    end
    if n == 0 then
      sp = sp - 1
    else
      local o = off[cand[draw(n) + 1]]
      G[cur + o] = 1
      G[cur + 2 * o] = 1
      sp = sp + 1
      stack[sp] = cur + 2 * o
    end
  end
  local pos, d, steps = start, 2, 0
  while pos ~= goal do
    local t = (d + 2) % 4 + 1
    while G[pos + off[t]] ~= 1 do t = t % 4 + 1 end
    d = t
    pos = pos + off[t]
    steps = steps + 1
  end
  total = total + steps
  if steps > longest then longest = steps end
  if steps < shortest then shortest = steps end
  for r = 2, 40, 2 do
    for c = 2, 40, 2 do
      local p = r * W + c + 1
      local open = G[p - W] + G[p + 1] + G[p + W] + G[p - 1]
      if open == 1 then deadEnds = deadEnds + 1 end
    end
  end
end
local row = ""
for c = 1, 41 do
  if G[21 * W + c + 1] == 1 then row = row .. "." else row = row .. "#" end
end
print(total)
print(longest)
print(shortest)
print(deadEnds)
print(row)
