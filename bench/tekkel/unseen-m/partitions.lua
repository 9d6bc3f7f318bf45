-- Partitions of whole numbers counted by a depth-first walk with a stack of its own
-- (see partitions.tkl).
local N = 42
local stackRem, stackMax = {}, {}
local nodes, deepest = 0, 0

-- kind 1: any parts, 2: distinct parts, 3: odd parts
local function count(n, kind)
  local top, found = 1, 0
  stackRem[1], stackMax[1] = n, n
  while top > 0 do
    local rem, max = stackRem[top], stackMax[top]
    top = top - 1
    nodes = nodes + 1
    if rem == 0 then
      found = found + 1
    else
      local part = max
      if part > rem then part = rem end
      if kind == 3 and part % 2 == 0 then part = part - 1 end
      while part >= 1 do
        top = top + 1
        stackRem[top] = rem - part
        if kind == 2 then stackMax[top] = part - 1 else stackMax[top] = part end
        if kind == 3 then part = part - 2 else part = part - 1 end
      end
      if top > deepest then deepest = top end
    end
  end
  return found
end

local euler = true
for n = 1, N do
  local p = count(n, 1)
  local q = count(n, 2)
  local o = count(n, 3)
  if q ~= o then euler = false end
  if n % 5 == 0 or n == N then print(n .. ": " .. p .. " " .. q .. " " .. o) end
end
print(nodes)
print(deepest)
if euler then print("distinct parts and odd parts agree") else print("they differ") end
