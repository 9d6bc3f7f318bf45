-- Research through a strategy game's tech tree (see techtree.tkl).
local seed = 19
local function draw(k)
  seed = (4081 * seed + 25673) % 121500
  return math.floor(seed * k / 121500)
end

local TECHS, TREES = 40, 1800
local cost, np, pre, ef, done = {}, {}, {}, {}, {}
local totalTime, finishSum, critSum, longest, roots, checksum = 0, 0, 0, 0, 0, 0

for tree = 1, TREES do
  local crit = 0
  for i = 1, TECHS do
    cost[i] = draw(90) + 10
    local n = 0
    if i > 1 then
      n = draw(4)
      if n > i - 1 then n = i - 1 end
    end
    np[i] = n
    pre[i] = {}
    local e = 0
    for k = 1, n do
      local p = draw(i - 1) + 1
      pre[i][k] = p
      if ef[p] > e then e = ef[p] end
    end
    if n == 0 then roots = roots + 1 end
    ef[i] = e + cost[i]
    if ef[i] > crit then crit = ef[i] end
    done[i] = false
  end
  critSum = critSum + crit
  if crit > longest then longest = crit end
  local time = 0
  for step = 1, TECHS do
    local pick = 0
    for i = 1, TECHS do
      if not done[i] then
        local ready = true
        for k = 1, np[i] do
          if not done[pre[i][k]] then
            ready = false
            break
          end
        end
        if ready and (pick == 0 or cost[i] < cost[pick]) then pick = i end
      end
    end
    done[pick] = true
    time = time + cost[pick]
    finishSum = finishSum + time
    checksum = (checksum * 31 + pick) % 1000003
  end
  totalTime = totalTime + time
end
print(totalTime)
print(finishSum)
print(critSum)
print(longest)
print(roots)
print(checksum)
