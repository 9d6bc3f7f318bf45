-- Lists of made-up names sorted by comb sort (see namesort.tkl).
local seed = 23
local function draw(k)
  seed = (seed * 1029 + 221591) % 1048576
  return math.floor(seed * k / 1048576)
end

local FIRST = {"Ka", "Lo", "Mi", "Ra", "To", "Shi", "Ne", "Vu", "Da", "El", "Or", "Zan"}
local SYLLABLES = {"ka", "lo", "mi", "ra", "to", "shi", "ne", "vu", "da", "el", "or", "zan",
                   "th", "ix"}
local LISTS = 11
local compares, swaps = 0, 0
local names = {}
for list = 1, LISTS do
  local n = 2000 * list
  for i = 1, n do
    local name = FIRST[draw(12) + 1]
    local more = 1 + draw(3)
    for s = 1, more do name = name .. SYLLABLES[draw(14) + 1] end
    names[i] = name
  end
  local gap, swapped = n, true
  while gap > 1 or swapped do
    gap = math.floor(gap * 10 / 13)
    if gap < 1 then gap = 1 end
    swapped = false
    for i = 1, n - gap do
      compares = compares + 1
      if names[i] > names[i + gap] then
        names[i], names[i + gap] = names[i + gap], names[i]
        swaps = swaps + 1
        swapped = true
      end
    end
  end
  local distinct = 1
  for i = 2, n do
    if names[i] ~= names[i - 1] then distinct = distinct + 1 end
  end
  print("list " .. list .. ": " .. names[1] .. " " .. names[math.floor(n / 2)] .. " " .. names[n] .. ", "
        .. distinct .. " distinct")
end
print(compares)
print(swaps)
