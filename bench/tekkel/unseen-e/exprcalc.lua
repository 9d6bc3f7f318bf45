local M = 32749
local x = 1
local function draw(k)
  x = (x * 4561 + 51349) % 243000
  return math.floor(x * k / 243000)
end

local text, pos

local expr
local function factor()
  local c = text:sub(pos, pos)
  if c == "(" then
    pos = pos + 1
    local v = expr()
    pos = pos + 1
    return v
  end
  local digits = text:match("^%d+", pos)
  pos = pos + #digits
  return tonumber(digits)
end
local function term()
  local v = factor()
  while text:sub(pos, pos) == "*" do
    pos = pos + 1
    v = v * factor() % M
  end
  return v
end
expr = function()
  local v = term()
  while true do
    local c = text:sub(pos, pos)
    if c == "+" then
      pos = pos + 1
      v = (v + term()) % M
    elseif c == "-" then
      pos = pos + 1
      v = (v - term() + M) % M
    else
      return v
    end
  end
end

local sum, chars, opened, odd, last = 0, 0, 0, 0, 0
for n = 1, 30000 do
  local s, depth = "", 0
  while true do
    if depth < 4 and draw(4) == 0 then
      s = s .. "("
      depth = depth + 1
      opened = opened + 1
    else
      s = s .. draw(1000)
      local k = draw(6)
      while depth > 0 and (k == 0 or #s >= 40) do
        s = s .. ")"
        depth = depth - 1
        k = draw(6)
      end
      if #s >= 40 then break end
      if k < 3 then s = s .. "+" elseif k == 3 then s = s .. "-" else s = s .. "*" end
    end
  end
  text, pos = s, 1
  last = expr()
  sum = (sum + last) % 1000003
  chars = chars + #s
  if last % 2 == 1 then odd = odd + 1 end
end
print(string.format("%d", sum))
print(string.format("%d", chars))
print(string.format("%d", opened))
print(string.format("%d", odd))
print(text)
print(string.format("%d", last))
