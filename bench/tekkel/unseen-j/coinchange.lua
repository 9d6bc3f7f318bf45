-- Change-making at the mints of eight realms (see coinchange.tkl).
local systems = {
  {"sterling", "1,2,5,10,20,50,100,200"},
  {"crowns", "1,3,6,12,24,30,60,240"},
  {"goblin", "1,3,4"},
  {"elvish", "1,7,13,29,61"},
  {"dwarven", "1,5,6,9,25,49"},
  {"squares", "1,4,9,16,25,36,49,64"},
  {"dollar", "1,5,10,25,50,100"},
  {"orcish", "1,10,11,30,60,90"},
}
local WAYS, LIMIT = 2500, 40000
local totalMisses, totalCoins = 0, 0
for s = 1, #systems do
  local name, text = systems[s][1], systems[s][2]
  -- read the coins from the text, smallest first
  local coins = {}
  while #text > 0 do
    local c = tonumber(text:match("^%d+"))
    coins[#coins + 1] = c
    local len = #tostring(c)
    if len >= #text then text = "" else text = text:sub(len + 2) end
  end
  local k = #coins
  -- the ways to pay each amount up to WAYS
  local ways = {}
  ways[0] = 1
  for v = 1, WAYS do ways[v] = 0 end
  for i = 1, k do
    local c = coins[i]
    for v = c, WAYS do ways[v] = ways[v] + ways[v - c] end
  end
  -- the fewest coins for each amount up to LIMIT, the largest coin of the best first
  local best, first = {}, {}
  best[0] = 0
  for v = 1, LIMIT do
    local b, f = v + 1, 0
    for i = k, 1, -1 do
      local c = coins[i]
      if c <= v then
        local n = best[v - c] + 1
        if n < b then b, f = n, c end
      end
    end
    best[v], first[v] = b, f
  end
  -- the greedy way: the largest coin that fits, as often as it fits
  local misses, firstMiss, worst = 0, 0, 0
  for v = 1, LIMIT do
    local rest, n = v, 0
    for i = k, 1, -1 do
      local c = coins[i]
      if rest >= c then
        local q = math.floor(rest / c)
        n = n + q
        rest = rest - q * c
      end
    end
    if n > best[v] then
      misses = misses + 1
      if firstMiss == 0 then firstMiss = v end
      if n - best[v] > worst then worst = n - best[v] end
    end
  end
  -- the change for LIMIT - 1, coin by coin along the best path
  local change, v, last, count = "", LIMIT - 1, 0, 0
  while v > 0 do
    local c = first[v]
    if c == last then
      count = count + 1
    else
      if last > 0 then change = change .. count .. "x" .. last .. " " end
      last, count = c, 1
    end
    v = v - c
  end
  change = change .. count .. "x" .. last
  totalMisses = totalMisses + misses
  totalCoins = totalCoins + best[LIMIT]
  print(name .. ": " .. k .. " coins, " .. best[LIMIT] .. " for " .. LIMIT .. ", greedy misses " ..
        misses .. " (first " .. firstMiss .. ", worst +" .. worst .. ")")
  print(ways[WAYS])
  print(change)
end
print(totalMisses)
print(totalCoins)
