local names = {"Aria", "Bram", "Cleo", "Dax", "Eryn", "Fenn", "Gwyn", "Hale"}
local titles = {"the Bold", "\"Lucky\"", "of Ash", "the \"Grey\"", "Back\\Door", "Quick-Hand"}
local classes = {"knight", "archer", "mage", "cleric", "thief"}
local items = {"rope", "lamp", "sword", "shield", "potion", "map", "key", "bow", "herb", "ring"}
local seed = 7
local function draw(k)
  seed = (seed * 8121 + 28411) % 134456
  return math.floor(seed * k / 134456)
end

local function quote(s)
  local out = "\""
  for i = 1, #s do
    local c = s:sub(i, i)
    if c == "\"" or c == "\\" then out = out .. "\\" end
    out = out .. c
  end
  return out .. "\""
end

local chars, tokens, strings, levels, hp, gold = 0, 0, 0, 0, 0, 0
local carried, alive, deepest, titlechars = 0, 0, 0, 0
local text
for r = 1, 12000 do
  local level = draw(60) + 1
  text = "{\"name\":" .. quote(names[draw(8) + 1])
  text = text .. ",\"title\":" .. quote(titles[draw(6) + 1])
  text = text .. ",\"class\":" .. quote(classes[draw(5) + 1])
  text = text .. ",\"level\":" .. level
  text = text .. ",\"hp\":" .. (level * 12 + draw(40))
  text = text .. ",\"gold\":" .. draw(1000)
  text = text .. ",\"items\":["
  local n = draw(4)
  for k = 1, n do
    if k > 1 then text = text .. "," end
    text = text .. quote(items[draw(10) + 1])
  end
  if draw(4) > 0 then
    text = text .. "],\"alive\":true}"
  else
    text = text .. "],\"alive\":false}"
  end
  chars = chars + #text

  local stack, key, expectkey = "", "", false
  local i = 1
  while i <= #text do
    local c = text:sub(i, i)
    i = i + 1
    if c == "{" or c == "[" then
      stack = stack .. c
      if #stack > deepest then deepest = #stack end
      expectkey = c == "{"
      tokens = tokens + 1
    elseif c == "}" or c == "]" then
      stack = stack:sub(1, #stack - 1)
      tokens = tokens + 1
    elseif c == "," then
      expectkey = stack:sub(#stack) == "{"
      tokens = tokens + 1
    elseif c == ":" then
      tokens = tokens + 1
    elseif c == "\"" then
      local s = ""
      c = text:sub(i, i)
      i = i + 1
      while c ~= "\"" do
        if c == "\\" then
          c = text:sub(i, i)
          i = i + 1
        end
        s = s .. c
        c = text:sub(i, i)
        i = i + 1
      end
      tokens = tokens + 1
      strings = strings + 1
      if expectkey then
        key = s
        expectkey = false
      elseif key == "title" then
        titlechars = titlechars + #s
      elseif key == "items" then
        carried = carried + 1
      end
    elseif c >= "0" and c <= "9" then
      local digits = c
      c = text:sub(i, i)
      while c >= "0" and c <= "9" do
        digits = digits .. c
        i = i + 1
        c = text:sub(i, i)
      end
      local v = tonumber(digits)
      tokens = tokens + 1
      if key == "level" then
        levels = levels + v
      elseif key == "hp" then
        hp = hp + v
      elseif key == "gold" then
        gold = gold + v
      end
    elseif c == "t" then
      i = i + 3
      tokens = tokens + 1
      if key == "alive" then alive = alive + 1 end
    elseif c == "f" then
      i = i + 4
      tokens = tokens + 1
    end
  end
end
print(chars)
print(tokens)
print(strings)
print(levels)
print(hp)
print(gold)
print(carried)
print(alive)
print(deepest)
print(titlechars)
print(text)
