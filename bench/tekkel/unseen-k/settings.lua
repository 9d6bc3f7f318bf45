-- A game's settings files written as text and read back (see settings.tkl).
local seed = 37
local function draw(k)
  seed = (3877 * seed + 29573) % 134456
  return math.floor(seed * k / 134456)
end

local sections = {"video", "audio", "input", "player", "network", "world"}
local keys = {"width", "height", "volume", "music", "speed", "name", "port", "fov", "shadows", "seed"}
local words = {"on", "off", "low", "high", "auto", "hero"}
local queries = {"video.width", "audio.volume", "player.name", "general.port", "network.port",
                 "world.seed", "input.speed", "video.fov", "audio.music", "player.shadows",
                 "world.height", "network.name"}
local FILES = 2000

local function blanks(k)
  local s = ""
  for i = 1, k do s = s .. " " end
  return s
end

local entries, overwrites, empty, comments, headers = 0, 0, 0, 0, 0
local misses, numSum, ons, others, checksum = 0, 0, 0, 0, 0
local names, values, n = {}, {}, 0

for file = 1, FILES do
  local text = ""
  for l = 1, 30 do
    local kind = draw(10)
    local line
    if kind == 0 then
      line = "; note " .. draw(100)
    elseif kind == 1 then
      line = ""
    elseif kind == 2 then
      line = "[" .. sections[draw(6) + 1] .. "]"
    else
      line = blanks(draw(2))
      line = line .. keys[draw(10) + 1]
      line = line .. blanks(draw(3)) .. "="
      line = line .. blanks(draw(3))
      if draw(2) == 0 then
        line = line .. draw(2000)
      else
        line = line .. words[draw(6) + 1]
      end
    end
    if l > 1 then text = text .. "\n" end
    text = text .. line
  end

  n = 0
  local section = "general"
  local rest = text
  local done = false
  while not done do
    local line = ""
    while true do
      if #rest == 0 then
        done = true
        break
      end
      local ch = rest:sub(1, 1)
      rest = rest:sub(2)
      if ch == "\n" then break end
      line = line .. ch
    end
    while line:sub(1, 1) == " " do line = line:sub(2) end
    local first = line:sub(1, 1)
    if line == "" then
      empty = empty + 1
    elseif first == ";" then
      comments = comments + 1
    elseif first == "[" then
      headers = headers + 1
      section = ""
      line = line:sub(2)
      while line:sub(1, 1) ~= "]" do
        section = section .. line:sub(1, 1)
        line = line:sub(2)
      end
    else
      local key = ""
      while line:sub(1, 1) ~= "=" do
        key = key .. line:sub(1, 1)
        line = line:sub(2)
      end
      while key:sub(-1) == " " do key = key:sub(1, #key - 1) end
      line = line:sub(2)
      while line:sub(1, 1) == " " do line = line:sub(2) end
      local full = section .. "." .. key
      local k = 1
      while k <= n and names[k] ~= full do k = k + 1 end
      if k > n then
        n = k
        names[k] = full
      else
        overwrites = overwrites + 1
      end
      values[k] = line
    end
  end

  for q = 1, 12 do
    local k = 1
    while k <= n and names[k] ~= queries[q] do k = k + 1 end
    if k > n then
      misses = misses + 1
    else
      local v = values[k]
      local c = v:sub(1, 1)
      if c >= "0" and c <= "9" then
        numSum = numSum + tonumber(v)
      elseif v == "on" then
        ons = ons + 1
      else
        others = others + 1
      end
    end
  end
  entries = entries + n
  checksum = (checksum * 13 + n) % 1000003
end
print(entries)
print(overwrites)
print(empty)
print(comments)
print(headers)
print(misses)
print(numSum)
print(ons)
print(others)
print(checksum)
print(names[1] .. "=" .. values[1] .. "; " .. names[n] .. "=" .. values[n])
