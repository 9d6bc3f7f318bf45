local W, G = 240, 12000
local rule, r = {}, 30
for p = 1, 8 do
  rule[p] = r % 2
  r = r // 2
end
local src, dst = {}, {}
for i = 1, W + 2 do
  src[i] = 0
  dst[i] = 0
end
src[W // 2 + 1] = 1
local total = 0
for g = 1, G do
  src[1] = src[W + 1]
  src[W + 2] = src[2]
  local pattern = src[1] * 2 + src[2]
  for i = 3, W + 2 do
    pattern = pattern * 2 % 8 + src[i]
    local s = rule[pattern + 1]
    dst[i - 1] = s
    total = total + s
  end
  src, dst = dst, src
end
local live, row = 0, ""
for i = 2, W + 1 do
  live = live + src[i]
  if i < 62 then
    if src[i] == 1 then row = row .. "#" else row = row .. "." end
  end
end
print(live)
print(total)
print(row)
