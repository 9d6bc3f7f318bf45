-- Plants grown by random L-system rules and drawn by a turtle (see lsystem.tkl).
local seed = 5
local function draw(k)
  seed = (1277 * seed + 24749) % 117128
  return math.floor(seed * k / 117128)
end
local pieces = {"F", "F", "+", "-", "[+F]", "[-F]"}
local dxs = {0, 1, 1, 1, 0, -1, -1, -1}
local dys = {1, 1, 0, -1, -1, -1, 0, 1}

local segments, leaves, widths, heights, generations, chars = 0, 0, 0, 0, 0, 0
local tallest, tallRule, last = -1, "", ""
for plant = 1, 3600 do
  -- the rule for F and the angle of a turn (45 or 90 degrees)
  local rule = "F"
  local n = draw(4) + 4
  for i = 1, n do rule = rule .. pieces[draw(6) + 1] end
  local ruleF = 0
  for i = 1, #rule do if rule:sub(i, i) == "F" then ruleF = ruleF + 1 end end
  local unit = draw(2) + 1
  -- grow while the plant stays within 800 characters, five generations at most
  local text, len, fs, gen = "F", 1, 1, 0
  while gen < 5 and len + fs * (#rule - 1) <= 800 do
    local grown = ""
    for i = 1, #text do
      local ch = text:sub(i, i)
      if ch == "F" then grown = grown .. rule else grown = grown .. ch end
    end
    chars = chars + #text
    len = len + fs * (#rule - 1)
    fs = fs * ruleF
    text = grown
    gen = gen + 1
  end
  generations = generations + gen
  -- the turtle: F draws a step, + and - turn, [ and ] keep and take back the place
  local x, y, d = 0, 0, 0
  local minx, maxx, miny, maxy = 0, 0, 0, 0
  local stack, top = {}, 0
  local prev = ""
  for i = 1, #text do
    local ch = text:sub(i, i)
    if ch == "F" then
      x = x + dxs[d + 1]
      y = y + dys[d + 1]
      segments = segments + 1
      if x < minx then minx = x end
      if x > maxx then maxx = x end
      if y < miny then miny = y end
      if y > maxy then maxy = y end
    elseif ch == "+" then
      d = (d + unit) % 8
    elseif ch == "-" then
      d = (d + 8 - unit) % 8
    elseif ch == "[" then
      stack[top + 1], stack[top + 2], stack[top + 3] = x, y, d
      top = top + 3
    else
      if prev == "F" then leaves = leaves + 1 end
      x, y, d = stack[top - 2], stack[top - 1], stack[top]
      top = top - 3
    end
    prev = ch
  end
  chars = chars + #text
  widths = widths + maxx - minx
  heights = heights + maxy - miny
  if maxy > tallest then tallest, tallRule = maxy, rule end
  last = text
end
print(segments)
print(leaves)
print(widths)
print(heights)
print(generations)
print(chars)
print(tallest .. " " .. tallRule)
print(last:sub(1, 60))
