-- A speedrun timer's split lines written as text and read back (see splits.tkl).
local seed = 29
local function draw(k)
  seed = (4561 * seed + 51349) % 243000
  return math.floor(seed * k / 243000)
end

local names = {"Intro", "Forest", "Caves", "Bridge", "Swamp", "Tower", "Ruins", "Glacier",
               "Lava", "Castle", "Throne", "Escape"}
local RUNS = 5000

local function two(n)
  if n < 10 then return "0" .. n end
  return tostring(n)
end

local function fmt(t)
  local c = t % 100
  local s = math.floor(t / 100) % 60
  local m = math.floor(t / 6000) % 60
  local h = math.floor(t / 360000)
  local text = two(s) .. "." .. two(c)
  if h > 0 then return h .. ":" .. two(m) .. ":" .. text end
  return m .. ":" .. text
end

local gold = {}
for s = 1, 12 do gold[s] = 99999999 end
local right, pbs, pb, pbLine, golds, chars, checksum, sum = 0, 0, 99999999, "", 0, 0, 0, 0

for run = 1, RUNS do
  local line, built = "", 0
  for s = 1, 12 do
    local t = 12000 + 3000 * s + draw(6000)
    built = built + t
    if s > 1 then line = line .. "," end
    line = line .. names[s] .. " " .. fmt(t)
  end
  chars = chars + #line
  local total, name, acc, cur, inName = 0, "", 0, 0, true
  local rest = line
  while true do
    local ch = ","
    if #rest > 0 then
      ch = rest:sub(1, 1)
      rest = rest:sub(2)
    end
    if inName then
      if ch == " " then inName = false else name = name .. ch end
    elseif ch == "," then
      local t = acc + cur
      local s = 1
      while names[s] ~= name do s = s + 1 end
      if t < gold[s] then
        gold[s] = t
        golds = golds + 1
      end
      total = total + t
      name, acc, cur, inName = "", 0, 0, true
      if #rest == 0 then break end
    elseif ch == ":" then
      acc = (acc + cur) * 60
      cur = 0
    elseif ch == "." then
      acc = (acc + cur) * 100
      cur = 0
    else
      cur = cur * 10 + tonumber(ch)
    end
  end
  if total == built then right = right + 1 end
  if total < pb then
    pb, pbLine = total, line
    pbs = pbs + 1
  end
  sum = sum + total
  checksum = (checksum * 7 + total) % 1000003
end

local best = 0
for s = 1, 12 do best = best + gold[s] end
print(right)
print(pbs)
print(golds)
print(chars)
print(checksum)
print(fmt(pb))
print(fmt(best))
print(fmt(math.floor(sum / RUNS)))
print(pbLine)
