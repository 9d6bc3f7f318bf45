-- Numbers written in English words and read back (see numwords.tkl).
local units = {"one", "two", "three", "four", "five", "six", "seven", "eight", "nine", "ten",
               "eleven", "twelve", "thirteen", "fourteen", "fifteen", "sixteen", "seventeen",
               "eighteen", "nineteen"}
local tens = {"", "twenty", "thirty", "forty", "fifty", "sixty", "seventy", "eighty", "ninety"}
local value = {zero = 0}
for i = 1, 19 do value[units[i]] = i end
for i = 2, 9 do value[tens[i]] = 10 * i end

local seed = 13
local function draw(k)
  seed = (3661 * seed + 30809) % 145800
  return math.floor(seed * k / 145800)
end

local function small(n) -- 1..999
  local text = ""
  local h, r = math.floor(n / 100), n % 100
  if h > 0 then
    text = units[h] .. " hundred"
    if r > 0 then text = text .. " and " end
  end
  if r >= 20 then
    text = text .. tens[math.floor(r / 10)]
    if r % 10 > 0 then text = text .. "-" .. units[r % 10] end
  elseif r > 0 then
    text = text .. units[r]
  end
  return text
end

local function words(n)
  if n == 0 then return "zero" end
  local m = math.floor(n / 1000000)
  local t = math.floor(n / 1000) % 1000
  local r = n % 1000
  local text = ""
  if m > 0 then text = small(m) .. " million" end
  if t > 0 then
    if text ~= "" then text = text .. " " end
    text = text .. small(t) .. " thousand"
  end
  if r > 0 then
    if text ~= "" then
      text = text .. " "
      if r < 100 then text = text .. "and " end
    end
    text = text .. small(r)
  end
  return text
end

local function read(text)
  local total, cur = 0, 0
  for w in text:gmatch("[^ %-]+") do
    if w == "hundred" then cur = cur * 100
    elseif w == "thousand" then total = total + cur * 1000; cur = 0
    elseif w == "million" then total = total + cur * 1000000; cur = 0
    elseif w ~= "and" then cur = cur + value[w] end
  end
  return total + cur
end

local function letters(text)
  local n = 0
  for i = 1, #text do
    local c = text:sub(i, i)
    if c ~= " " and c ~= "-" then n = n + 1 end
  end
  return n
end

local euler = 0
for n = 1, 999 do euler = euler + letters(words(n)) end
euler = euler + #"onethousand"
print(euler)

local right, total, longest, longText, sum = 0, 0, 0, "", 0
for i = 1, 36000 do
  local n
  local kind = draw(4)
  if kind == 0 then
    n = draw(1000)
  elseif kind == 1 then
    local a = draw(1000)
    n = a * 1000 + draw(1000)
  else
    local a = draw(1000)
    local b = draw(1000)
    n = (a * 1000 + b) * 1000 + draw(1000)
  end
  local text = words(n)
  total = total + #text
  if #text > longest then longest, longText = #text, text end
  local back = read(text)
  if back == n then right = right + 1 end
  sum = (sum + back) % 1000000007
end
print(right)
print(total)
print(sum)
print(longest)
print(longText)
print(words(1000001) .. "; " .. words(20000017) .. "; " .. words(999999999))
