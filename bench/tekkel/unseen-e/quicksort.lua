local N = 5000
local a, stack = {}, {}
local seed = 1
local swaps, bad, sum = 0, 0, 0
local sp
local function push(lo, hi)
  stack[sp + 1] = lo
  stack[sp + 2] = hi
  sp = sp + 2
end
for round = 1, 105 do
  for i = 1, N do
    seed = (seed * 2311 + 25367) % 120050
    a[i] = seed
  end
  sp = 0
  push(1, N)
  while sp > 0 do
    local lo, hi = stack[sp - 1], stack[sp]
    sp = sp - 2
    if hi - lo < 10 then
      for p = lo + 1, hi do
        local v = a[p]
        local q = p - 1
        while q >= lo and a[q] > v do
          a[q + 1] = a[q]
          q = q - 1
        end
        a[q + 1] = v
      end
    else
      local mid = math.floor((lo + hi) / 2)
      if a[mid] < a[lo] then a[mid], a[lo] = a[lo], a[mid] end
      if a[hi] < a[mid] then
        a[hi], a[mid] = a[mid], a[hi]
        if a[mid] < a[lo] then a[mid], a[lo] = a[lo], a[mid] end
      end
      local pivot = a[mid]
      local i, j = lo - 1, hi + 1
      while true do
        repeat j = j - 1 until a[j] <= pivot
        repeat i = i + 1 until a[i] >= pivot
        if i >= j then break end
        a[i], a[j] = a[j], a[i]
        swaps = swaps + 1
      end
      if j - lo + 1 > hi - j then
        push(lo, j)
        push(j + 1, hi)
      else
        push(j + 1, hi)
        push(lo, j)
      end
    end
  end
  for i = 1, N do
    if i > 1 and a[i - 1] > a[i] then bad = bad + 1 end
    sum = (sum + a[i] * i) % 1000003
  end
end
print(string.format("%d", swaps))
print(string.format("%d", bad))
print(string.format("%d", sum))
print(string.format("%d", a[1]))
print(string.format("%d", a[2500]))
print(string.format("%d", a[N]))
