-- A game server's log written as text lines and read back field by field (see logparse.tkl).
local seed = 17
local function draw(k)
  seed = (seed * 7141 + 54773) % 259200
  return math.floor(seed * k / 259200)
end

local SYSTEMS = {"audio", "render", "net", "input", "save", "ai"}
local MESSAGES = {"buffer low", "frame late", "packet lost", "key stuck", "slot full",
                  "path blocked", "retry", "timeout"}
local LINES = 150000

local function two(n)
  if n < 10 then return "0" .. n end
  return "" .. n
end

local levels = {"INFO", "DEBUG", "WARN", "ERROR"}
local levelCount = {0, 0, 0, 0}
local systems, systemTrouble = {}, {}
local day, prev = 0, -1
local lastError, widest, widestAt = -1, -1, ""
local warnCodes = 0
local bucket, bucketLines, busiest, busiestAt = -1, 0, 0, ""
local t = 6 * 3600
local line

for n = 1, LINES do
  -- the writer
  t = t + draw(90)
  local s = t % 86400
  local hh = math.floor(s / 3600)
  local mm = math.floor((s - hh * 3600) / 60)
  local ss = s - hh * 3600 - mm * 60
  local r = draw(20)
  local level
  if r < 12 then level = "INFO" elseif r < 16 then level = "DEBUG"
  elseif r < 19 then level = "WARN" else level = "ERROR" end
  line = two(hh) .. ":" .. two(mm) .. ":" .. two(ss) .. " " .. level .. " "
      .. SYSTEMS[draw(6) + 1] .. ": " .. MESSAGES[draw(8) + 1] .. " code=" .. (100 + draw(900))

  -- the reader
  local h = tonumber(line:sub(1, 2))
  local m = tonumber(line:sub(4, 5))
  local sec = tonumber(line:sub(7, 8))
  local time = (h * 60 + m) * 60 + sec
  if time < prev then day = day + 1 end
  prev = time
  local stamp = day * 86400 + time
  local rest = line:sub(10)
  local p = 1
  while rest:sub(p, p) ~= " " do p = p + 1 end
  local lv = rest:sub(1, p - 1)
  rest = rest:sub(p + 1)
  p = 1
  while rest:sub(p, p) ~= ":" do p = p + 1 end
  local sys = rest:sub(1, p - 1)
  rest = rest:sub(p + 2)
  p = 1
  while rest:sub(p, p) ~= "=" do p = p + 1 end
  local code = tonumber(rest:sub(p + 1))

  local k = 1
  while levels[k] ~= lv do k = k + 1 end
  levelCount[k] = levelCount[k] + 1
  local j = 1
  while j <= #systems and systems[j] ~= sys do j = j + 1 end
  if j > #systems then
    systems[j] = sys
    systemTrouble[j] = 0
  end
  if k >= 3 then systemTrouble[j] = systemTrouble[j] + 1 end
  if k == 3 then warnCodes = warnCodes + code end
  if k == 4 then
    if lastError >= 0 and stamp - lastError > widest then
      widest = stamp - lastError
      widestAt = "day " .. day .. " " .. line:sub(1, 8)
    end
    lastError = stamp
  end
  local hour = day * 24 + h
  if hour ~= bucket then
    bucket = hour
    bucketLines = 0
  end
  bucketLines = bucketLines + 1
  if bucketLines > busiest then
    busiest = bucketLines
    busiestAt = "day " .. day .. " hour " .. h
  end
end

for k = 1, 4 do print(levels[k] .. " " .. levelCount[k]) end
for j = 1, #systems do print(systems[j] .. " " .. systemTrouble[j]) end
print(warnCodes)
print("widest gap between errors " .. widest .. " s, ending " .. widestAt)
print("busiest " .. busiest .. " lines, " .. busiestAt)
print(day)
print(line)
