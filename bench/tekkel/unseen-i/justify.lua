-- paragraphs of quest text set in justified lines: the breaks chosen by dynamic programming for
-- the least sum of squared slack (the last line free), compared with greedy filling
local vocab = {"the", "old", "king", "asked", "you", "to", "bring", "back", "his", "stolen",
  "crown", "from", "beyond", "northern", "mountains", "where", "a", "dragon", "guards",
  "treasure", "of", "forgotten", "empire", "and", "its", "hoard", "glitters", "in", "darkness",
  "brave", "travellers", "seldom", "return"}
local x = 77
local function draw(k)
  x = (x * 1861 + 49297) % 233280
  return math.floor(x * k / 233280)
end

local words, len, cost, nxt = {}, {}, {}, {}
local dptotal, greedytotal, better, lines, chars = 0, 0, 0, 0, 0
local text
for para = 1, 6500 do
  local n = draw(41) + 30
  local width = draw(17) + 28
  for i = 1, n do
    words[i] = vocab[draw(#vocab) + 1]
    len[i] = #words[i]
  end
  -- least squared slack, from the last word back
  cost[n + 1] = 0
  for i = n, 1, -1 do
    local best, bestj = -1, 0
    local linelen = -1
    local j = i
    while j <= n do
      linelen = linelen + 1 + len[j]
      if linelen > width then break end
      local c
      if j == n then
        c = 0
      else
        local slack = width - linelen
        c = slack * slack + cost[j + 1]
      end
      if best < 0 or c < best then
        best = c
        bestj = j
      end
      j = j + 1
    end
    cost[i] = best
    nxt[i] = bestj
  end
  dptotal = dptotal + cost[1]
  -- greedy filling for comparison
  local g, linelen = 0, len[1]
  for i = 2, n do
    if linelen + 1 + len[i] <= width then
      linelen = linelen + 1 + len[i]
    else
      g = g + (width - linelen) * (width - linelen)
      linelen = len[i]
    end
  end
  greedytotal = greedytotal + g
  if cost[1] < g then better = better + 1 end
  -- set the lines
  text = ""
  local i = 1
  while i <= n do
    local j = nxt[i]
    local line = words[i]
    if j == n or j == i then
      for k = i + 1, j do line = line .. " " .. words[k] end
    else
      local linelen = len[i]
      for k = i + 1, j do linelen = linelen + 1 + len[k] end
      local gaps = j - i
      local extra = width - linelen
      local each = math.floor(extra / gaps)
      local more = extra % gaps
      for k = i + 1, j do
        local pad = 1 + each
        if k - i <= more then pad = pad + 1 end
        for p = 1, pad do line = line .. " " end
        line = line .. words[k]
      end
    end
    if i > 1 then text = text .. "|" end
    text = text .. line
    lines = lines + 1
    i = j + 1
  end
  chars = chars + #text
end
print(dptotal)
print(greedytotal)
print(better)
print(lines)
print(chars)
print(text)
