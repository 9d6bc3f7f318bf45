-- Bracket strings made at random and checked with a stack (see brackets.tkl).
local seed = 11
local function draw(k)
  seed = (seed * 8121 + 28411) % 134456
  return math.floor(seed * k / 134456)
end

local OPENS, CLOSES = "([{<", ")]}>"
local LINES = 30000
local ok, stray, mismatch, unclosed = 0, 0, 0, 0
local errorAt, deepest, okChars = 0, 0, 0
local verdicts = {}
local line

for n = 1, LINES do
  -- the maker keeps a stack of its own so that most closers fit
  local len = 20 + draw(41)
  local made, depth = {}, 0
  line = ""
  for i = 1, len do
    local r = draw(20)
    if r < 8 or (depth == 0 and r < 15) then
      local k = draw(4) + 1
      line = line .. OPENS:sub(k, k)
      depth = depth + 1
      made[depth] = k
    elseif r < 15 then
      local k = made[depth]
      depth = depth - 1
      line = line .. CLOSES:sub(k, k)
    elseif r < 18 then
      line = line .. "x"
    elseif r < 19 then
      local k = draw(4) + 1
      line = line .. CLOSES:sub(k, k)
      if depth > 0 then depth = depth - 1 end
    else
      line = line .. "-"
    end
  end
  if draw(4) > 0 then
    while depth > 0 do
      local k = made[depth]
      depth = depth - 1
      line = line .. CLOSES:sub(k, k)
    end
  end

  -- the checker
  local stack, top, most = {}, 0, 0
  local verdict = nil
  for i = 1, #line do
    local c = line:sub(i, i)
    local kind, opening = 0, false
    if c == "(" then kind, opening = 1, true
    elseif c == "[" then kind, opening = 2, true
    elseif c == "{" then kind, opening = 3, true
    elseif c == "<" then kind, opening = 4, true
    elseif c == ")" then kind = 1
    elseif c == "]" then kind = 2
    elseif c == "}" then kind = 3
    elseif c == ">" then kind = 4
    end
    if opening then
      top = top + 1
      stack[top] = kind
      if top > most then most = top end
    elseif kind > 0 then
      if top == 0 then
        stray = stray + 1
        errorAt = errorAt + i
        verdict = "stray " .. c .. " at " .. i
        break
      elseif stack[top] ~= kind then
        mismatch = mismatch + 1
        errorAt = errorAt + i
        verdict = "expected " .. CLOSES:sub(stack[top], stack[top]) .. " at " .. i .. " got " .. c
        break
      end
      top = top - 1
    end
  end
  if verdict == nil then
    if top > 0 then
      unclosed = unclosed + 1
      verdict = top .. " left open"
    else
      ok = ok + 1
      okChars = okChars + #line
      if most > deepest then deepest = most end
      verdict = "ok, depth " .. most
    end
  end
  if n <= 4 then verdicts[n] = line .. " : " .. verdict end
end
for n = 1, 4 do print(verdicts[n]) end
print("ok " .. ok .. ", stray " .. stray .. ", mismatched " .. mismatch .. ", unclosed " .. unclosed)
print(errorAt)
print(deepest)
print(okChars)
print(line)
