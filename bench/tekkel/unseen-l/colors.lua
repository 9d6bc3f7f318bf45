-- The pixels of generated pictures matched to a 16-colour palette and described by hue,
-- saturation and brightness (see colors.tkl).
local seed = 17
local function draw(k)
  seed = (3613 * seed + 45289) % 214326
  return math.floor(seed * k / 214326)
end

local palette = {0, 0, 0, 29, 43, 83, 126, 37, 83, 0, 135, 81, 171, 82, 54, 95, 87, 79,
                 194, 195, 199, 255, 241, 232, 255, 0, 77, 255, 163, 0, 255, 236, 39,
                 0, 228, 54, 41, 173, 255, 131, 118, 156, 255, 119, 168, 255, 204, 170}
local used, sectors = {}, {}
for k = 1, 16 do used[k] = 0 end
for k = 1, 6 do sectors[k] = 0 end
local grey, error, luma = 0, 0, 0
local hues, sats, values = 0.0, 0.0, 0

local PICTURES, SIZE = 80, 32
local base, sx, sy, px = {}, {}, {}, {}
for picture = 1, PICTURES do
  for c = 1, 3 do base[c] = draw(256) end
  for c = 1, 3 do sx[c] = draw(9) - 4 end
  for c = 1, 3 do sy[c] = draw(9) - 4 end
  for y = 0, SIZE - 1 do
    for x = 0, SIZE - 1 do
      for c = 1, 3 do
        local v = base[c] + sx[c] * x + sy[c] * y + draw(33) - 16
        if v < 0 then v = 0 end
        if v > 255 then v = 255 end
        px[c] = v
      end
      local r, g, b = px[1], px[2], px[3]

      local best, bestD = 0, 1000000
      for k = 0, 15 do
        local dr = r - palette[3 * k + 1]
        local dg = g - palette[3 * k + 2]
        local db = b - palette[3 * k + 3]
        local d = dr * dr + dg * dg + db * db
        if d < bestD then
          best = k
          bestD = d
        end
      end
      used[best + 1] = used[best + 1] + 1
      error = error + bestD
      luma = luma + math.floor((299 * r + 587 * g + 114 * b + 500) / 1000)

      local mx, mn = r, r
      if g > mx then mx = g end
      if b > mx then mx = b end
      if g < mn then mn = g end
      if b < mn then mn = b end
      local delta = mx - mn
      values = values + mx
      if delta == 0 then
        grey = grey + 1
      else
        local h
        if mx == r then
          h = (g - b) / delta * 60
          if h < 0 then h = h + 360 end
        elseif mx == g then
          h = ((b - r) / delta + 2) * 60
        else
          h = ((r - g) / delta + 4) * 60
        end
        hues = hues + h
        sats = sats + delta / mx
        local s = math.floor(h / 60) + 1
        sectors[s] = sectors[s] + 1
      end
    end
  end
end
for k = 1, 16 do print("colour " .. (k - 1) .. ": " .. used[k]) end
for k = 1, 6 do print("sector " .. (k - 1) .. ": " .. sectors[k]) end
print(grey)
print(error)
print(luma)
print(values)
print(string.format("%.15g", hues))
print(string.format("%.15g", sats))
