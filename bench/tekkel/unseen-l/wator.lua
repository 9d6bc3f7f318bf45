-- Fish and sharks on a 64 x 64 sea that wraps around (see wator.tkl).
local seed = 7
local function draw(k)
  seed = (7141 * seed + 54773) % 259200
  return math.floor(seed * k / 259200)
end

local W, H, TURNS = 64, 64, 250
local kind, age, energy, stamp = {}, {}, {}, {}
for i = 0, W * H - 1 do
  local d = draw(20)
  if d < 6 then
    kind[i] = 1
    age[i] = draw(3)
    energy[i] = 0
  elseif d == 6 then
    kind[i] = 2
    age[i] = draw(8)
    energy[i] = 5
  else
    kind[i] = 0
    age[i] = 0
    energy[i] = 0
  end
  stamp[i] = 0
end

local near = {}
local births, eaten, starved, moves = 0, 0, 0, 0
local function neighbours(i, want)
  local x, y = i % W, math.floor(i / W)
  local n = 0
  local c
  if y == 0 then c = i + W * (H - 1) else c = i - W end
  if kind[c] == want then n = n + 1; near[n] = c end
  if x == W - 1 then c = i - (W - 1) else c = i + 1 end
  if kind[c] == want then n = n + 1; near[n] = c end
  if y == H - 1 then c = i - W * (H - 1) else c = i + W end
  if kind[c] == want then n = n + 1; near[n] = c end
  if x == 0 then c = i + (W - 1) else c = i - 1 end
  if kind[c] == want then n = n + 1; near[n] = c end
  return n
end

-- moves the creature at i to j; a grown one leaves a young one behind
local function move(i, j, turn, breed)
  kind[j], age[j], energy[j], stamp[j] = kind[i], age[i] + 1, energy[i], turn
  moves = moves + 1
  if age[j] >= breed then
    age[j] = 0
    age[i] = 0
    energy[i] = 3
    stamp[i] = turn
    births = births + 1
  else
    kind[i] = 0
  end
end

for turn = 1, TURNS do
  for i = 0, W * H - 1 do
    local k = kind[i]
    if k == 1 and stamp[i] < turn then
      local n = neighbours(i, 0)
      if n > 0 then
        move(i, near[draw(n) + 1], turn, 5)
      else
        age[i] = age[i] + 1
      end
    elseif k == 2 and stamp[i] < turn then
      local n = neighbours(i, 1)
      local j = i
      if n > 0 then
        j = near[draw(n) + 1]
        kind[j] = 0
        energy[i] = energy[i] + 3
        eaten = eaten + 1
      else
        n = neighbours(i, 0)
        if n > 0 then j = near[draw(n) + 1] end
      end
      if j ~= i then
        move(i, j, turn, 10)
      else
        age[j] = age[j] + 1
      end
      energy[j] = energy[j] - 1
      if energy[j] == 0 then
        kind[j] = 0
        starved = starved + 1
      end
    end
  end
  if turn % 25 == 0 then
    local fish, sharks = 0, 0
    for i = 0, W * H - 1 do
      if kind[i] == 1 then fish = fish + 1 elseif kind[i] == 2 then sharks = sharks + 1 end
    end
    print(turn .. ": " .. fish .. " fish, " .. sharks .. " sharks")
  end
end
print(births)
print(eaten)
print(starved)
print(moves)
