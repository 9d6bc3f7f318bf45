-- file names matched against wildcard patterns (* ? [abc] [a-z] [!...]) by the classic
-- backtracking matcher that remembers the last star
local syl = {"ka", "ro", "mi", "tan", "el", "su", "lor", "ai", "ven", "dra"}
local ext = {"png", "wav", "tkl", "txt", "map", "ogg"}
local pats = {"*.png", "*.t?l", "ka*", "*ro*", "?a*", "*_?.*", "*_??.*", "[kmt]*.wav",
  "*[0-9].txt", "[!aeiou]*", "*a*a*", "el*.???", "*[a-c]?.map", "dra*_*", "*an*", "*.[mo]*",
  "*i*_[1-3]*.*g", "s?[!r]*", "*l*l*l*", "[a-m][a-m]*[n-z].*"}
local x = 11
local function draw(k)
  x = (x * 3877 + 29573) % 139968
  return math.floor(x * k / 139968)
end

local steps = 0
local function match(p, s)
  local pi, si, starp, stars = 1, 1, 0, 0
  local np, ns = #p, #s
  while si <= ns do
    steps = steps + 1
    local c = s:sub(si, si)
    local pc = p:sub(pi, pi)
    local ok, nextp = false, pi + 1
    if pc == "*" then
      starp = pi
      stars = si
      pi = pi + 1
    else
      if pc == "?" then
        ok = true
      elseif pc == "[" then
        local k = pi + 1
        local neg = false
        if p:sub(k, k) == "!" then
          neg = true
          k = k + 1
        end
        local found = false
        while p:sub(k, k) ~= "]" do
          local a = p:sub(k, k)
          if p:sub(k + 1, k + 1) == "-" then
            local b = p:sub(k + 2, k + 2)
            if c >= a and c <= b then found = true end
            k = k + 3
          else
            if c == a then found = true end
            k = k + 1
          end
        end
        ok = found ~= neg
        nextp = k + 1
      elseif pi <= np then
        ok = pc == c
      end
      if ok then
        pi = nextp
        si = si + 1
      elseif starp > 0 then
        pi = starp + 1
        stars = stars + 1
        si = stars
      else
        return false
      end
    end
  end
  while p:sub(pi, pi) == "*" do pi = pi + 1 end
  return pi > np
end

local counts = {}
for k = 1, #pats do counts[k] = 0 end
local total, chars, name, line = 0, 0, "", ""
for n = 1, 8000 do
  name = ""
  local parts = draw(3) + 2
  for k = 1, parts do name = name .. syl[draw(10) + 1] end
  if draw(2) == 0 then name = name .. "_" .. draw(100) end
  name = name .. "." .. ext[draw(6) + 1]
  chars = chars + #name
  line = name .. ":"
  for k = 1, #pats do
    if match(pats[k], name) then
      counts[k] = counts[k] + 1
      total = total + 1
      line = line .. " " .. k
    end
  end
end
local summary = ""
for k = 1, #pats do
  if k > 1 then summary = summary .. " " end
  summary = summary .. counts[k]
end
print(summary)
print(total)
print(steps)
print(chars)
print(line)
