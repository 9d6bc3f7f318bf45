-- Dice notation written, read and rolled, as a tabletop game's dice roller (see dicenote.tkl).
local seed = 19
local function draw(k)
  seed = (205 * seed + 29573) % 139968
  return math.floor(seed * k / 139968)
end

local FACES = {4, 6, 8, 10, 12, 20, 100}
local EXPRESSIONS, ROLLS = 30000, 12
local sign, count, face, keep, dice = {}, {}, {}, {}, {}
local rest

local function number()
  local value, digits = 0, 0
  local c = rest:sub(1, 1)
  while c >= "0" and c <= "9" do
    value = value * 10 + tonumber(c)
    digits = digits + 1
    rest = rest:sub(2)
    c = rest:sub(1, 1)
  end
  return value, digits
end

local rolled, sum, atMax, atMin, outside, keeping = 0, 0, 0, 0, 0, 0
local longest = ""
for e = 1, EXPRESSIONS do
  local text = ""
  local terms = 1 + draw(3)
  for i = 1, terms do
    if i > 1 then
      if draw(4) < 3 then text = text .. "+" else text = text .. "-" end
    end
    if draw(10) < 7 then
      local n = 1 + draw(4)
      local f = FACES[draw(7) + 1]
      if n == 1 and draw(2) == 0 then text = text .. "d" .. f else text = text .. n .. "d" .. f end
      if n >= 3 and draw(3) == 0 then text = text .. "k" .. (n - 1) end
    else
      text = text .. (1 + draw(9))
    end
  end
  if #text > #longest then longest = text end

  rest = text
  local t, s, lo, hi = 0, 1, 0, 0
  while #rest > 0 do
    local n, digits = number()
    local low, high
    t = t + 1
    sign[t] = s
    if rest:sub(1, 1) == "d" then
      if digits == 0 then n = 1 end
      rest = rest:sub(2)
      local f = number()
      local k = n
      if rest:sub(1, 1) == "k" then
        rest = rest:sub(2)
        k = number()
        keeping = keeping + 1
      end
      count[t], face[t], keep[t] = n, f, k
      low, high = k, k * f
    else
      count[t], face[t], keep[t] = n, 0, 0
      low, high = n, n
    end
    if s > 0 then
      lo, hi = lo + low, hi + high
    else
      lo, hi = lo - high, hi - low
    end
    local c = rest:sub(1, 1)
    if c == "+" then
      s = 1
      rest = rest:sub(2)
    elseif c == "-" then
      s = -1
      rest = rest:sub(2)
    end
  end

  local shown = ""
  for r = 1, ROLLS do
    local total = 0
    for i = 1, t do
      local v = count[i]
      if face[i] > 0 then
        v = 0
        for j = 1, count[i] do
          dice[j] = 1 + draw(face[i])
          v = v + dice[j]
        end
        rolled = rolled + count[i]
        for drop = 1, count[i] - keep[i] do
          local m = 1
          for j = 2, count[i] do
            if dice[j] < dice[m] then m = j end
          end
          v = v - dice[m]
          dice[m] = 999
        end
      end
      if sign[i] > 0 then total = total + v else total = total - v end
    end
    sum = sum + total
    if total == hi then atMax = atMax + 1 end
    if total == lo then atMin = atMin + 1 end
    if total < lo or total > hi then outside = outside + 1 end
    if e <= 6 then shown = shown .. " " .. total end
  end
  if e <= 6 then print(text .. ": " .. lo .. " to " .. hi .. ", rolled" .. shown) end
end
print("longest: " .. longest)
print("keeping the highest: " .. keeping)
print("dice rolled: " .. rolled)
print("at the top: " .. atMax .. ", at the bottom: " .. atMin .. ", outside: " .. outside)
print(sum)
