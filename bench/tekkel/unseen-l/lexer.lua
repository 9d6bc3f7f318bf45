-- Lines of a game's script source generated and cut into tokens (see lexer.tkl).
local seed = 31
local function draw(k)
  seed = (3877 * seed + 29573) % 139968
  return math.floor(seed * k / 139968)
end

local names = {"hp", "gold", "x", "y", "speed", "target", "count", "level", "mana", "armor",
               "dx", "dy", "timer", "state", "item_2", "p1"}
local words = {"the", "gate", "is", "open", "run", "now", "you", "win", "lost", "key"}
local keywords = {"local", "if", "then", "end", "while", "do", "return", "and", "or", "not"}

local function name()
  return names[draw(16) + 1]
end
local function number()
  if draw(3) == 0 then
    local whole = draw(100)
    local part = draw(100)
    return whole .. "." .. ("0" .. part):sub(-2)
  end
  return "" .. draw(1000)
end
local function phrase()
  local t = words[draw(10) + 1]
  local more = draw(3)
  for i = 1, more do t = t .. " " .. words[draw(10) + 1] end
  return t
end
local function text()
  local t = phrase()
  if draw(4) == 0 then t = t .. " \\\"" .. words[draw(10) + 1] .. "\\\"" end
  return "\"" .. t .. "\""
end

local function isLetter(c)
  return (c >= "a" and c <= "z") or c == "_"
end
local function isDigit(c)
  return c >= "0" and c <= "9"
end

local LINES = 24000
local kinds = {0, 0, 0, 0, 0, 0} -- keywords, names, numbers, texts, operators, comments
local textChars, sum = 0, 0.0
local seen, uses = {}, {}
local line
for l = 1, LINES do
  local t = draw(10)
  if t == 0 then
    local a = name()
    local b = number()
    line = "local " .. a .. " = " .. b
  elseif t == 1 then
    local a = name()
    local b = name()
    local c = number()
    local d = name()
    line = a .. " = " .. b .. " + " .. c .. " * " .. d
  elseif t == 2 then
    local a = name()
    local b = number()
    line = "if " .. a .. " >= " .. b .. " then"
  elseif t == 3 then
    local a = name()
    local b = name()
    local c = text()
    line = a .. " = " .. b .. " .. " .. c
  elseif t == 4 then
    line = "end"
  elseif t == 5 then
    local a = name()
    local b = name()
    line = "while " .. a .. " ~= " .. b .. " do"
  elseif t == 6 then
    line = "-- " .. phrase()
  elseif t == 7 then
    local a = name()
    local b = number()
    local c = number()
    local d = name()
    line = "return (" .. a .. " - " .. b .. ") / " .. c .. ", " .. d
  elseif t == 8 then
    local a = name()
    local b = name()
    local c = name()
    local d = name()
    local e = number()
    line = "if not " .. a .. " and " .. b .. " <= " .. c .. " or " .. d .. "==" .. e .. " then"
  else
    local a = name()
    local b = name()
    local c = number()
    local d = phrase()
    line = a .. " = " .. b .. "-" .. c .. " -- " .. d
  end

  local rest = line
  while #rest > 0 do
    local c = rest:sub(1, 1)
    rest = rest:sub(2)
    if c == " " then
      -- a blank parts tokens
    elseif isLetter(c) then
      local word = c
      while #rest > 0 and (isLetter(rest:sub(1, 1)) or isDigit(rest:sub(1, 1))) do
        word = word .. rest:sub(1, 1)
        rest = rest:sub(2)
      end
      local k = 1
      while k <= 10 and keywords[k] ~= word do k = k + 1 end
      if k <= 10 then
        kinds[1] = kinds[1] + 1
      else
        kinds[2] = kinds[2] + 1
        local s = 1
        while s <= #seen and seen[s] ~= word do s = s + 1 end
        if s > #seen then
          seen[s] = word
          uses[s] = 0
        end
        uses[s] = uses[s] + 1
      end
    elseif isDigit(c) then
      local num = c
      while #rest > 0 and isDigit(rest:sub(1, 1)) do
        num = num .. rest:sub(1, 1)
        rest = rest:sub(2)
      end
      if rest:sub(1, 1) == "." then
        num = num .. "."
        rest = rest:sub(2)
        while #rest > 0 and isDigit(rest:sub(1, 1)) do
          num = num .. rest:sub(1, 1)
          rest = rest:sub(2)
        end
      end
      kinds[3] = kinds[3] + 1
      sum = sum + tonumber(num)
    elseif c == "\"" then
      local s = ""
      while true do
        local d = rest:sub(1, 1)
        rest = rest:sub(2)
        if d == "\"" then break end
        if d == "\\" then
          d = rest:sub(1, 1)
          rest = rest:sub(2)
        end
        s = s .. d
      end
      kinds[4] = kinds[4] + 1
      textChars = textChars + #s
    elseif c == "-" and rest:sub(1, 1) == "-" then
      kinds[6] = kinds[6] + 1
      rest = ""
    else
      local n = rest:sub(1, 1)
      if (n == "=" and (c == "=" or c == "~" or c == "<" or c == ">"))
          or (c == "." and n == ".") then
        rest = rest:sub(2)
      end
      kinds[5] = kinds[5] + 1
    end
  end
end
local labels = {"keywords", "names", "numbers", "texts", "operators", "comments"}
for k = 1, 6 do print(labels[k] .. ": " .. kinds[k]) end
print(textChars)
print(string.format("%.15g", sum))
print(#seen)
local best = 1
for s = 2, #seen do
  if uses[s] > uses[best] then best = s end
end
print(seen[best] .. " " .. uses[best])
print(seen[1] .. " " .. seen[#seen])
print(line)
