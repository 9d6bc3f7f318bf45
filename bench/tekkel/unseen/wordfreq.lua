local words = {"oak", "birch", "elm", "willow", "ash", "maple"}
local count = {0, 0, 0, 0, 0, 0}
local x = 1
for sentence = 1, 30000 do
  local text = ""
  for w = 1, 16 do
    x = (x * 2417 + 71) % 19997
    text = text .. words[x % 6 + 1] .. " "
  end
  local word = ""
  repeat
    local c = text:sub(1, 1)
    if c == " " then
      for k = 1, 6 do
        if word == words[k] then
          count[k] = count[k] + 1
          break
        end
      end
      word = ""
    else
      word = word .. c
    end
    text = text:sub(2)
  until text == ""
end
for k = 1, 6 do print(count[k]) end
