-- Frame times of a game summed up in windows by quickselect (see frametimes.tkl).
local seed = 13
local function draw(k)
  seed = (2041 * seed + 25673) % 121500
  return math.floor(seed * k / 121500)
end

local W, WINDOWS = 240, 2000
local frames, a = {}, {}

local function select(k)
  local lo, hi = 1, W
  while lo < hi do
    local mid = math.floor((lo + hi) / 2)
    local pivot = a[mid]
    a[mid] = a[hi]
    a[hi] = pivot
    local store = lo
    for i = lo, hi - 1 do
      if a[i] < pivot then
        a[i], a[store] = a[store], a[i]
        store = store + 1
      end
    end
    a[hi] = a[store]
    a[store] = pivot
    if k == store then
      break
    elseif k < store then
      hi = store - 1
    else
      lo = store + 1
    end
  end
  return a[k]
end

local frameNo, total, hitchesAll, janky, medians = 0, 0, 0, 0, 0
local worst, worstAt = -1, 0
for w = 1, WINDOWS do
  local max = 0
  for i = 1, W do
    frameNo = frameNo + 1
    local t = 1517 + draw(301)
    if frameNo % 97 == 0 then t = t + 400 end
    if draw(100) < 3 then t = t + 1000 + draw(4000) end
    if frameNo % 900 == 0 then t = t + 8000 end
    frames[i] = t
    total = total + t
    if t > max then max = t end
  end
  for i = 1, W do a[i] = frames[i] end
  local median = select(120)
  local p95 = select(228)
  local p99 = select(238)
  local hitches = 0
  for i = 1, W do
    if frames[i] > 2 * median then hitches = hitches + 1 end
  end
  hitchesAll = hitchesAll + hitches
  medians = medians + median
  if p99 > 3333 then janky = janky + 1 end
  if p99 > worst then worst, worstAt = p99, w end
  if w <= 3 then
    print("window " .. w .. ": median " .. median .. ", p95 " .. p95 .. ", p99 " .. p99
      .. ", max " .. max .. ", hitches " .. hitches)
  end
end
print("windows with p99 over 3333: " .. janky)
print("worst p99 " .. worst .. " in window " .. worstAt)
print(hitchesAll)
print(medians)
print(string.format("%.15g", total / frameNo))
