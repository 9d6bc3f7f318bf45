-- Orders sent between the camps of a game in Morse code and read back (see morse.tkl).
local seed = 29
local function draw(k)
  seed = (8121 * seed + 28411) % 134456
  return math.floor(seed * k / 134456)
end

local chars = {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n", "o", "p",
               "q", "r", "s", "t", "u", "v", "w", "x", "y", "z",
               "0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}
local codes = {".-", "-...", "-.-.", "-..", ".", "..-.", "--.", "....", "..", ".---", "-.-",
               ".-..", "--", "-.", "---", ".--.", "--.-", ".-.", "...", "-", "..-", "...-",
               ".--", "-..-", "-.--", "--..",
               "-----", ".----", "..---", "...--", "....-", ".....", "-....", "--...", "---..",
               "----."}
local words = {"attack", "north", "gold", "gate", "guard", "dragon", "retreat", "east", "west",
               "south", "tower", "bridge", "king", "queen", "help", "sword", "shield", "camp",
               "fire", "river", "night", "dawn", "wolf", "ship"}
local used = {}
for k = 1, 36 do used[k] = 0 end

local MESSAGES = 2500
local letters, length, dots, dashes, units, wrong = 0, 0, 0, 0, 0, 0
local text, morse
for m = 1, MESSAGES do
  local count = draw(6) + 4
  text = ""
  for w = 1, count do
    if w > 1 then text = text .. " " end
    if draw(5) == 0 then
      text = text .. draw(1000)
    else
      text = text .. words[draw(24) + 1]
    end
  end

  morse = ""
  local rest = text
  while #rest > 0 do
    local c = rest:sub(1, 1)
    rest = rest:sub(2)
    if c == " " then
      morse = morse .. " /"
    else
      local k = 1
      while chars[k] ~= c do k = k + 1 end
      used[k] = used[k] + 1
      letters = letters + 1
      if morse ~= "" then morse = morse .. " " end
      morse = morse .. codes[k]
    end
  end
  length = length + #morse

  local back = ""
  local prev = 0
  rest = morse
  while #rest > 0 do
    local token = ""
    while #rest > 0 do
      local c = rest:sub(1, 1)
      rest = rest:sub(2)
      if c == " " then break end
      token = token .. c
    end
    if token == "/" then
      back = back .. " "
      units = units + 7
      prev = 2
    else
      local k = 1
      while codes[k] ~= token do k = k + 1 end
      back = back .. chars[k]
      if prev == 1 then units = units + 3 end
      prev = 1
      units = units + #token - 1
      local t = token
      while #t > 0 do
        if t:sub(1, 1) == "." then
          dots = dots + 1
          units = units + 1
        else
          dashes = dashes + 1
          units = units + 3
        end
        t = t:sub(2)
      end
    end
  end
  if back ~= text then wrong = wrong + 1 end
end
local best = 1
for k = 2, 36 do
  if used[k] > used[best] then best = k end
end
print(letters)
print(length)
print(dots)
print(dashes)
print(units)
print(wrong)
print(chars[best] .. " " .. used[best])
print(text)
print(morse)
