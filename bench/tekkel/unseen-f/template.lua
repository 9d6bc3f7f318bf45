local templates = {
  "{hero} finds {n} {item} in the {place}.",
  "The {npc} of the {place} asks {hero} for {n} {item}.",
  "{hero} trades {n} {item} with the {npc} for {gold} gold.",
  "Beware, {hero}! The {place} is full of {monster}.",
  "{npc}: Bring me {n} {item} and {gold} gold, {hero}.",
  "After {n} days in the {place}, {hero} meets the {npc}.",
}
local keys = {"hero", "npc", "item", "place", "monster", "n", "gold"}
local heroes = {"Aria", "Bram", "Cleo", "Dax"}
local npcs = {"smith", "old witch", "innkeeper", "captain of the guard"}
local items = {"apple", "iron key", "wolf pelt", "healing herb", "silver ring"}
local places = {"Misty Marsh", "Old Mill", "Crystal Caves", "King's Road"}
local monsters = {"bats", "goblins", "restless ghosts"}
local value = {}
local x = 2024
local function draw(k)
  x = (x * 205 + 29573) % 139968
  return math.floor(x * k / 139968)
end
local lines, chars, longest, full = 0, 0, 0, 0
local joined = ""
for paragraph = 1, 6000 do
  value[1] = heroes[draw(4) + 1]
  value[2] = npcs[draw(4) + 1]
  value[3] = items[draw(5) + 1]
  value[4] = places[draw(4) + 1]
  value[5] = monsters[draw(3) + 1]
  local n = draw(5) + 1
  value[6] = n
  value[7] = draw(90) + 10
  if n > 1 then value[3] = value[3] .. "s" end
  local para = ""
  for t = 1, 3 do
    local rest, out = templates[draw(6) + 1], ""
    repeat
      local c = rest:sub(1, 1)
      rest = rest:sub(2)
      if c == "{" then
        local key = ""
        c = rest:sub(1, 1)
        rest = rest:sub(2)
        while c ~= "}" do
          key = key .. c
          c = rest:sub(1, 1)
          rest = rest:sub(2)
        end
        local k = 1
        while keys[k] ~= key do k = k + 1 end
        out = out .. value[k]
      else
        out = out .. c
      end
    until rest == ""
    para = para .. out .. " "
  end
  joined = ""
  local line, word, rest = "", "", para
  repeat
    local c = rest:sub(1, 1)
    rest = rest:sub(2)
    if c == " " then
      if word ~= "" then
        if line == "" then
          line = word
        elseif #line + #word < 30 then
          line = line .. " " .. word
        else
          lines = lines + 1
          chars = chars + #line
          if #line > longest then longest = #line end
          if #line == 30 then full = full + 1 end
          if joined ~= "" then joined = joined .. "|" end
          joined = joined .. line
          line = word
        end
        word = ""
      end
    else
      word = word .. c
    end
  until rest == ""
  if line ~= "" then
    lines = lines + 1
    chars = chars + #line
    if #line > longest then longest = #line end
    if #line == 30 then full = full + 1 end
    if joined ~= "" then joined = joined .. "|" end
    joined = joined .. line
  end
end
print(lines)
print(chars)
print(longest)
print(full)
print(joined)
