local potions, quests, angry = 0, 0, 0
local x = 1
local purse, total = 20, 0
local text
for talk = 1, 300000 do
  text = ""
  local state, offer = 1, 10
  while true do
    x = (x * 936 + 1399) % 6655
    if state == 1 then
      text = text .. "Greetings, traveller. "
      local r = x % 3
      if r == 2 then state = 8 elseif r == 0 then state = 2 else state = 3 end
    elseif state == 2 then
      text = text .. "Wolves took my sheep. "
      if x % 2 == 0 then state = 4 else state = 5 end
    elseif state == 3 then
      text = text .. "Potions, two gold. "
      if purse < 2 then
        text = text .. "Come back richer. "
        state = 8
      else
        purse = purse - 2
        potions = potions + 1
        local r = x % 4
        if r == 0 then state = 1 elseif r == 3 then state = 8 else state = 3 end
      end
    elseif state == 4 then
      text = text .. "Bring the fleece back. "
      quests = quests + 1
      purse = purse + offer
      state = 6
    elseif state == 5 then
      text = text .. "Fine, five more. "
      offer = offer + 5
      if offer > 40 then
        state = 7
      else
        local r = x % 3
        if r == 2 then state = 7 elseif r == 0 then state = 4 else state = 5 end
      end
    elseif state == 6 then
      text = text .. "Thank you, hero! "
      state = 8
    elseif state == 7 then
      text = text .. "Then begone! "
      angry = angry + 1
      state = 8
    else
      text = text .. "Farewell."
      total = total + #text
      break
    end
  end
end
print(total)
print(purse)
print(potions)
print(quests)
print(angry)
print(text)
