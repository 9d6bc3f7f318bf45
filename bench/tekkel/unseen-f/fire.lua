local W = 52
local cur, nxt = {}, {}
for i = 1, W * W do
  cur[i] = 0
  nxt[i] = 0
end
local x = 7
for r = 1, 50 do
  for c = 1, 50 do
    x = (x * 8121 + 28411) % 134456
    if x < 74000 then cur[r * W + c + 1] = 1 end
  end
end
local burnt, strikes, peak, peakGen = 0, 0, 0, 0
for g = 1, 1000 do
  local burning = 0
  for r = 1, 50 do
    local p = r * W + 1
    for c = 1, 50 do
      p = p + 1
      local s = cur[p]
      if s == 2 then
        nxt[p] = 0
        burnt = burnt + 1
      elseif s == 1 then
        if cur[p - 1] == 2 or cur[p + 1] == 2 or cur[p - W] == 2 or cur[p + W] == 2 then
          nxt[p] = 2
          burning = burning + 1
        else
          x = (x * 8121 + 28411) % 134456
          if x < 30 then
            nxt[p] = 2
            strikes = strikes + 1
            burning = burning + 1
          else
            nxt[p] = 1
          end
        end
      else
        x = (x * 8121 + 28411) % 134456
        if x < 2500 then nxt[p] = 1 else nxt[p] = 0 end
      end
    end
  end
  if burning > peak then
    peak = burning
    peakGen = g
  end
  cur, nxt = nxt, cur
end
local trees = 0
for i = 1, W * W do
  if cur[i] == 1 then trees = trees + 1 end
end
print(trees)
print(burnt)
print(strikes)
print(peak)
print(peakGen)
