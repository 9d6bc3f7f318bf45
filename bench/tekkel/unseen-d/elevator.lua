local pending, since = {}, {}
for f = 1, 12 do
  pending[f] = false
  since[f] = 0
end
local calls, repeats, stops, moved, waited, longest, idle, reopened = 0, 0, 0, 0, 0, 0, 0, 0
local x = 17
local floor, dir, state, timer = 1, 0, 0, 0
local function serve(tick)
  pending[floor] = false
  local w = tick - since[floor]
  waited = waited + w
  if longest < w then longest = w end
  stops = stops + 1
end

local function callAbove()
  for f = floor + 1, 12 do
    if pending[f] then return true end
  end
  return false
end

local function callBelow()
  for f = floor - 1, 1, -1 do
    if pending[f] then return true end
  end
  return false
end

for tick = 1, 2000000 do
  x = (x * 8121 + 28411) % 134456
  if x % 6 == 0 then
    local f = x // 6 % 12 + 1
    if pending[f] then
      repeats = repeats + 1
    else
      pending[f] = true
      since[f] = tick
      calls = calls + 1
    end
  end
  if state == 0 then
    if pending[floor] then
      serve(tick)
      state, timer = 2, 3
    elseif callAbove() then
      dir, state, timer = 1, 1, 2
    elseif callBelow() then
      dir, state, timer = -1, 1, 2
    else
      idle = idle + 1
    end
  elseif state == 1 then
    timer = timer - 1
    if timer == 0 then
      floor = floor + dir
      moved = moved + 1
      if pending[floor] then
        serve(tick)
        state, timer = 2, 3
      else
        timer = 2
      end
    end
  elseif pending[floor] then
    serve(tick)
    timer = 3
    reopened = reopened + 1
  else
    timer = timer - 1
    if timer == 0 then
      if dir >= 0 then
        if callAbove() then
          dir, state, timer = 1, 1, 2
        elseif callBelow() then
          dir, state, timer = -1, 1, 2
        else
          dir, state = 0, 0
        end
      else
        if callBelow() then
          dir, state, timer = -1, 1, 2
        elseif callAbove() then
          dir, state, timer = 1, 1, 2
        else
          dir, state = 0, 0
        end
      end
    end
  end
end
print(calls)
print(repeats)
print(stops)
print(moved)
print(waited)
print(longest)
print(idle)
print(reopened)
print(floor)
