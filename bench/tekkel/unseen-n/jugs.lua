-- Water jug puzzles solved by breadth-first search (see jugs.tkl).
local B = 80
local NAMES = {"fill A", "fill B", "empty A", "empty B", "pour A->B", "pour B->A"}
local seen, dist, parent, move, queue = {}, {}, {}, {}, {}
local best, bestState = {}, {}
local pairsN, reached, stepsSum, states, coprime = 0, 0, 0, 0, 0
local hardest, hardA, hardB, hardT = -1, 0, 0, 0

for b = 2, B do
  for a = 1, b - 1 do
    pairsN = pairsN + 1
    local w = b + 1
    for t = 1, b do best[t] = -1 end
    local head, tail = 1, 1
    queue[1] = 0
    seen[1] = pairsN
    dist[1] = 0
    while head <= tail do
      local s = queue[head]
      head = head + 1
      local x = math.floor(s / w)
      local y = s - x * w
      local d = dist[s + 1] + 1
      for m = 1, 6 do
        local nx, ny = x, y
        if m == 1 then
          nx = a
        elseif m == 2 then
          ny = b
        elseif m == 3 then
          nx = 0
        elseif m == 4 then
          ny = 0
        elseif m == 5 then
          local p = b - y
          if x < p then p = x end
          nx, ny = x - p, y + p
        else
          local p = a - x
          if y < p then p = y end
          nx, ny = x + p, y - p
        end
        local ns = nx * w + ny
        if seen[ns + 1] ~= pairsN then
          seen[ns + 1] = pairsN
          dist[ns + 1] = d
          parent[ns + 1] = s
          move[ns + 1] = m
          tail = tail + 1
          queue[tail] = ns
          if nx > 0 and best[nx] < 0 then
            best[nx] = d
            bestState[nx] = ns
          end
          if ny > 0 and best[ny] < 0 then
            best[ny] = d
            bestState[ny] = ns
          end
        end
      end
    end
    states = states + tail
    local all = true
    for t = 1, b do
      if best[t] >= 0 then
        reached = reached + 1
        stepsSum = stepsSum + best[t]
        if best[t] > hardest then
          hardest, hardA, hardB, hardT = best[t], a, b, t
        end
      else
        all = false
      end
    end
    if all then coprime = coprime + 1 end
    if b == 13 then
      local text = ""
      local s = bestState[12]
      while s ~= 0 do
        if text == "" then
          text = NAMES[move[s + 1]]
        else
          text = NAMES[move[s + 1]] .. ", " .. text
        end
        s = parent[s + 1]
      end
      print(a .. " and 13 to 12 in " .. best[12] .. ": " .. text)
    end
  end
end
print(pairsN .. " pairs, " .. coprime .. " measure every amount")
print(reached .. " amounts reached in " .. stepsSum .. " steps")
print("hardest: " .. hardT .. " with " .. hardA .. " and " .. hardB .. " in " .. hardest .. " steps")
print(states)
