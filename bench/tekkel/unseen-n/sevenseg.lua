-- A score counter drawn in seven-segment digits and read back (see sevenseg.tkl).
local seed = 71
local function draw(k)
  seed = (171 * seed + 11213) % 53125
  return math.floor(seed * k / 53125)
end

local TOP = {" _ ", "   ", " _ ", " _ ", "   ", " _ ", " _ ", " _ ", " _ ", " _ "}
local MID = {"| |", "  |", " _|", " _|", "|_|", "|_ ", "|_ ", "  |", "|_|", "|_|"}
local BOT = {"|_|", "  |", "|_ ", " _|", "  |", " _|", "|_|", "  |", "|_|", " _|"}
local KEY, LIT, SEEN = {}, {}, {}
for d = 1, 10 do
  KEY[d] = TOP[d] .. MID[d] .. BOT[d]
  local n = 0
  for i = 1, 9 do
    if KEY[d]:sub(i, i) ~= " " then n = n + 1 end
  end
  LIT[d] = n
  SEEN[d] = 0
end

local FRAMES = 100000
local score, lit, chars, misread = 0, 0, 0, 0
local top, mid, bot
for frame = 1, FRAMES do
  score = score + 1 + draw(999)
  local n = score
  top, mid, bot = "", "", ""
  repeat
    local q = math.floor(n / 10)
    local d = n - q * 10 + 1
    n = q
    top = TOP[d] .. top
    mid = MID[d] .. mid
    bot = BOT[d] .. bot
    lit = lit + LIT[d]
  until n == 0
  chars = chars + #top * 3
  local t, m, b, value = top, mid, bot, 0
  while #t > 0 do
    local key = t:sub(1, 3) .. m:sub(1, 3) .. b:sub(1, 3)
    t, m, b = t:sub(4), m:sub(4), b:sub(4)
    local d = 1
    while KEY[d] ~= key do d = d + 1 end
    value = value * 10 + d - 1
    SEEN[d] = SEEN[d] + 1
  end
  if value ~= score then misread = misread + 1 end
  if frame % 25000 == 0 then
    print("frame " .. frame .. ", score " .. score)
    print(top .. "\n" .. mid .. "\n" .. bot)
  end
end
print(lit)
print(chars)
local seen = "digits read:"
for d = 1, 10 do seen = seen .. " " .. (d - 1) .. "x" .. SEEN[d] end
print(seen)
print("misread " .. misread)
