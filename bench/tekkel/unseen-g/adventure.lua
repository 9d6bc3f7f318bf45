local rooms = {"Hall", "Library", "Kitchen", "Cellar", "Garden", "Tower"}
local dirs = {"north", "south", "east", "west", "up", "down"}
local exits = {
  {2, 5, 3, 0, 0, 0},
  {0, 1, 0, 0, 6, 0},
  {0, 0, 0, 1, 0, 4},
  {0, 0, 0, 0, 3, 0},
  {1, 0, 0, 0, 0, 0},
  {0, 0, 0, 0, 0, 2},
}
local items = {"lamp", "key", "book", "bread", "sword", "coin"}
local place = {1, 5, 2, 3, 4, 6}
local commands = {
  "go", "walk", "n", "s", "e", "w", "u", "d", "take", "get", "drop", "look", "l", "i", "eat",
  "read", "dance",
}
local seed = 4242
local function draw(k)
  seed = (seed * 1029 + 221591) % 1048576
  return math.floor(seed * k / 1048576)
end

local room, score, failed, chars = 1, 0, 0, 0
local visited = {true, false, false, false, false, false}
local reply

local function dark()
  return room == 4 and place[1] ~= 0 and place[1] ~= 4
end

local function find(list, word)
  for k = 1, #list do
    if list[k] == word then return k end
  end
  return 0
end

local function carried()
  local n = 0
  for k = 1, #items do
    if place[k] == 0 then n = n + 1 end
  end
  return n
end

local handlers = {}
handlers.go = function(noun)
  local d = find(dirs, noun)
  local to = exits[room][d]
  if to == 0 then
    reply = "You can't go " .. noun .. " from the " .. rooms[room] .. "."
    failed = failed + 1
  else
    room = to
    reply = "You go " .. noun .. " to the " .. rooms[room] .. "."
    if not visited[room] then
      visited[room] = true
      score = score + 10
    end
  end
end
handlers.take = function(noun)
  local k = find(items, noun)
  if place[k] == room then
    if dark() then
      reply = "It is too dark."
    elseif carried() >= 3 then
      reply = "Your hands are full."
    else
      place[k] = 0
      reply = "Taken: " .. noun .. "."
    end
  elseif place[k] == 0 then
    reply = "You already have the " .. noun .. "."
  else
    reply = "There is no " .. noun .. " here."
  end
end
handlers.drop = function(noun)
  local k = find(items, noun)
  if place[k] == 0 then
    place[k] = room
    reply = "Dropped: " .. noun .. "."
  else
    reply = "You don't have the " .. noun .. "."
  end
end
handlers.look = function()
  if dark() then
    reply = "It is too dark to see."
    return
  end
  reply = rooms[room] .. ". Exits:"
  for d = 1, #dirs do
    if exits[room][d] ~= 0 then reply = reply .. " " .. dirs[d] end
  end
  local seen = ""
  for k = 1, #items do
    if place[k] == room then
      if seen ~= "" then seen = seen .. ", " end
      seen = seen .. items[k]
    end
  end
  if seen == "" then
    reply = reply .. ". You see nothing."
  else
    reply = reply .. ". You see: " .. seen .. "."
  end
end
handlers.inventory = function()
  local held = ""
  for k = 1, #items do
    if place[k] == 0 then
      if held ~= "" then held = held .. ", " end
      held = held .. items[k]
    end
  end
  if held == "" then
    reply = "You carry nothing."
  else
    reply = "You carry: " .. held .. "."
  end
end
handlers.eat = function(noun)
  local k = find(items, noun)
  if place[k] ~= 0 then
    reply = "You don't have the " .. noun .. "."
  elseif noun == "bread" then
    place[k] = 3
    score = score + 1
    reply = "You eat the bread. Another loaf appears in the kitchen."
  else
    reply = "You cannot eat the " .. noun .. "."
  end
end
handlers.read = function(noun)
  local k = find(items, noun)
  if place[k] ~= 0 then
    reply = "You don't have the " .. noun .. "."
  elseif noun ~= "book" then
    reply = "There is nothing written on the " .. noun .. "."
  elseif room == 6 then
    score = score + 5
    reply = "The runes glow: you win five points."
  else
    reply = "The book is hard to read here."
  end
end

local verbs = {
  go = "go", walk = "go", take = "take", get = "take", drop = "drop", look = "look", l = "look",
  i = "inventory", inventory = "inventory", eat = "eat", read = "read",
  n = "north", s = "south", e = "east", w = "west", u = "up", d = "down",
}

for turn = 1, 160000 do
  local verb = commands[draw(#commands) + 1]
  local line = verb
  if verb == "go" or verb == "walk" then
    line = line .. " " .. dirs[draw(6) + 1]
  elseif verb == "take" or verb == "get" or verb == "drop" or verb == "eat"
      or verb == "read" then
    line = line .. " " .. items[draw(6) + 1]
  end
  -- the parser: the first word, then the rest
  local blank = line:find(" ", 1, true)
  local word, noun = line, ""
  if blank then
    word = line:sub(1, blank - 1)
    noun = line:sub(blank + 1)
  end
  local canon = verbs[word]
  if canon == nil then
    reply = "I don't understand " .. word .. "."
  elseif handlers[canon] then
    handlers[canon](noun)
  else
    handlers.go(canon)
  end
  chars = chars + #reply
end
print(chars)
print(score)
print(failed)
print(rooms[room])
local where = ""
for k = 1, #items do where = where .. items[k] .. "@" .. place[k] .. " " end
print(where)
print(reply)
