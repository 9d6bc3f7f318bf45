-- A game's cutscene subtitles written as timed text, read back, retimed and checked
-- (see subtitles.tkl).
local seed = 3
local function draw(k)
  seed = (2041 * seed + 25673) % 121500
  return math.floor(seed * k / 121500)
end

local words = {"the", "king", "has", "fallen", "we", "must", "ride", "north", "before", "dawn",
               "hold", "gate", "they", "are", "coming", "run", "now", "where", "is", "my"}

local function pad(n, width)
  local s = "" .. n
  while #s < width do s = "0" .. s end
  return s
end

local function stamp(ms)
  local h = math.floor(ms / 3600000)
  ms = ms % 3600000
  local m = math.floor(ms / 60000)
  ms = ms % 60000
  local s = math.floor(ms / 1000)
  ms = ms % 1000
  return pad(h, 2) .. ":" .. pad(m, 2) .. ":" .. pad(s, 2) .. "," .. pad(ms, 3)
end

local function readStamp(text)
  local h = tonumber(text:sub(1, 2))
  local m = tonumber(text:sub(4, 5))
  local s = tonumber(text:sub(7, 8))
  local ms = tonumber(text:sub(10, 12))
  return h * 3600000 + m * 60000 + s * 1000 + ms
end

local FILES, CUES = 900, 12
local cues, chars, wordCount, fast, shown, overlaps, wrong, checksum = 0, 0, 0, 0, 0, 0, 0, 0
local starts, ends, texts = {}, {}, {}
local last = ""
for file = 1, FILES do
  local t = draw(10000) * 1000 + draw(1000)
  local text = ""
  for c = 1, CUES do
    local start = t + draw(1500) - 300
    local finish = start + 800 + draw(4000)
    t = finish
    local line = words[draw(20) + 1]
    local more = draw(8) + 1
    for w = 1, more do line = line .. " " .. words[draw(20) + 1] end
    text = text .. c .. "\n" .. stamp(start) .. " --> " .. stamp(finish) .. "\n" .. line .. "\n\n"
  end

  -- read back line by line: a number, the times, the text, a blank line
  local rest, state, n = text, 0, 0
  while #rest > 0 do
    local k = 1
    while rest:sub(k, k) ~= "\n" do k = k + 1 end
    local line = rest:sub(1, k - 1)
    rest = rest:sub(k + 1)
    if state == 0 then
      n = n + 1
      if tonumber(line) ~= n then wrong = wrong + 1 end
      state = 1
    elseif state == 1 then
      starts[n] = readStamp(line:sub(1, 12))
      ends[n] = readStamp(line:sub(-12))
      state = 2
    elseif state == 2 then
      texts[n] = line
      state = 3
    else
      state = 0
    end
  end

  -- stretched by one part in a thousand and moved 250 later; no cue within 100 of the next
  for c = 1, n do
    starts[c] = starts[c] + math.floor((starts[c] + 500) / 1000) + 250
    ends[c] = ends[c] + math.floor((ends[c] + 500) / 1000) + 250
  end
  for c = 1, n do
    if c < n and ends[c] - starts[c + 1] + 100 > 0 then
      ends[c] = starts[c + 1] - 100
      overlaps = overlaps + 1
    end
    local length = #texts[c]
    local duration = ends[c] - starts[c]
    cues = cues + 1
    chars = chars + length
    shown = shown + duration
    local rest = texts[c]
    wordCount = wordCount + 1
    while #rest > 0 do
      if rest:sub(1, 1) == " " then wordCount = wordCount + 1 end
      rest = rest:sub(2)
    end
    if length * 1000 - 17 * duration > 0 then fast = fast + 1 end
    checksum = (checksum * 7 + starts[c] % 1000 + ends[c] % 1000) % 1000003
  end
  if file == FILES then
    for c = n - 2, n do
      last = last .. c .. " " .. stamp(starts[c]) .. " --> " .. stamp(ends[c]) .. " " .. texts[c]
      if c < n then last = last .. "\n" end
    end
  end
end
print(cues)
print(chars)
print(wordCount)
print(fast)
print(shown)
print(overlaps)
print(wrong)
print(checksum)
print(string.format("%.15g", chars * 1000 / shown))
print(last)
