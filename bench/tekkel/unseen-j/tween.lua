-- Sprites moved along looping keyframe tracks with easing functions (see tween.tkl).
local seed = 21
local function draw(k)
  seed = (3613 * seed + 45289) % 214326
  return math.floor(seed * k / 214326)
end

local function ease(kind, u)
  if kind == 0 then return u
  elseif kind == 1 then return u * u
  elseif kind == 2 then return u * (2 - u)
  elseif kind == 3 then
    if u < 0.5 then return 2 * u * u end
    local v = 1 - u
    return 1 - 2 * v * v
  elseif kind == 4 then
    if u < 0.5 then return 4 * u * u * u end
    local v = 1 - u
    return 1 - 4 * v * v * v
  elseif kind == 5 then
    local v = u - 1
    return v * v * (2.70158 * v + 1.70158) + 1
  elseif kind == 6 then
    if u < 1 / 2.75 then return 7.5625 * u * u
    elseif u < 2 / 2.75 then u = u - 1.5 / 2.75; return 7.5625 * u * u + 0.75
    elseif u < 2.5 / 2.75 then u = u - 2.25 / 2.75; return 7.5625 * u * u + 0.9375
    else u = u - 2.625 / 2.75; return 7.5625 * u * u + 0.984375 end
  else
    return u * u * (3 - 2 * u)
  end
end

local SPRITES, FRAMES = 64, 11000
local tracks = {}
for s = 1, SPRITES do
  local tr = {t = {}, x = {}, y = {}, kind = {}}
  local t = 0
  for k = 1, 6 do
    tr.t[k] = t
    tr.x[k] = draw(321)
    tr.y[k] = draw(241)
    tr.kind[k] = draw(8)
    t = t + (draw(18) + 3) / 10
  end
  tr.t[7], tr.x[7], tr.y[7] = t, tr.x[1], tr.y[1]
  tr.seg, tr.offset = 1, 0
  tracks[s] = tr
end

local sumx, sumy, over, maxy, digest, laps = 0, 0, 0, 0, 0, 0
for frame = 0, FRAMES - 1 do
  local t = frame / 60
  for s = 1, SPRITES do
    local tr = tracks[s]
    local lt = t - tr.offset
    local k = tr.seg
    while lt >= tr.t[k + 1] do
      k = k + 1
      if k == 7 then
        k = 1
        tr.offset = tr.offset + tr.t[7]
        lt = t - tr.offset
        laps = laps + 1
      end
    end
    tr.seg = k
    local u = (lt - tr.t[k]) / (tr.t[k + 1] - tr.t[k])
    local e = ease(tr.kind[k], u)
    if e > 1 or e < 0 then over = over + 1 end
    local x = tr.x[k] + (tr.x[k + 1] - tr.x[k]) * e
    local y = tr.y[k] + (tr.y[k + 1] - tr.y[k]) * e
    sumx = sumx + x
    sumy = sumy + y
    if y > maxy then maxy = y end
    local px = math.floor(x + 0.5)
    local py = math.floor(y + 0.5)
    digest = (digest * 31 + (px + 100) * 7 + py + 100) % 1000003
  end
end
print(string.format("%.15g", sumx))
print(string.format("%.15g", sumy))
print(string.format("%.15g", maxy))
print(over)
print(laps)
print(digest)
