local n = 120000
local a, b = {}, {}
local x = 5
for i = 1, n do
  x = (x * 1861 + 49297) % 233280
  a[i] = x
  b[i] = 0
end
local src, dst = a, b
local width, passes, inversions = 1, 0, 0
while width < n do
  local lo = 1
  while lo <= n do
    local mid = math.min(lo + width, n + 1)
    local hi = math.min(mid + width, n + 1)
    local i, j, k = lo, mid, lo
    while i < mid and j < hi do
      local u, v = src[i], src[j]
      if v < u then
        dst[k] = v
        j = j + 1
        inversions = inversions + (mid - i)
      else
        dst[k] = u
        i = i + 1
      end
      k = k + 1
    end
    while i < mid do
      dst[k] = src[i]
      i = i + 1
      k = k + 1
    end
    while j < hi do
      dst[k] = src[j]
      j = j + 1
      k = k + 1
    end
    lo = hi
  end
  src, dst = dst, src
  width = width * 2
  passes = passes + 1
end
local descents = 0
for i = 2, n do
  if src[i] < src[i - 1] then descents = descents + 1 end
end
print(passes)
print(inversions)
print(descents)
print(src[1])
print(src[n // 2])
print(src[n])
