local alphabet = "./0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
local tab = {}
for i = 1, 64 do tab[i] = alphabet:sub(i, i) end
local data = {}
local x = 99
local s1, s2, wrong, chars = 0, 0, 0, 0
local line
for l = 1, 8000 do
  for i = 1, 45 do
    x = (x * 421 + 54773) % 259200
    data[i] = math.floor(x * 256 / 259200)
  end
  line = ""
  for g = 1, 45, 3 do
    local n = (data[g] * 256 + data[g + 1]) * 256 + data[g + 2]
    local v0 = math.floor(n / 262144)
    local rest = n - v0 * 262144
    local v1 = math.floor(rest / 4096)
    rest = rest - v1 * 4096
    local v2 = math.floor(rest / 64)
    local v3 = rest - v2 * 64
    line = line .. tab[v0 + 1] .. tab[v1 + 1] .. tab[v2 + 1] .. tab[v3 + 1]
  end
  chars = chars + #line
  local n, k, i = 0, 0, 0
  for pos = 1, #line do
    local c = line:sub(pos, pos)
    local lo, hi = 1, 64
    while lo < hi do
      local mid = math.floor((lo + hi) / 2)
      if tab[mid] < c then lo = mid + 1 else hi = mid end
    end
    n = n * 64 + lo - 1
    k = k + 1
    if k == 4 then
      local b0 = math.floor(n / 65536)
      local b1 = math.floor(n / 256) - b0 * 256
      local b2 = n - math.floor(n / 256) * 256
      if b0 ~= data[i + 1] then wrong = wrong + 1 end
      if b1 ~= data[i + 2] then wrong = wrong + 1 end
      if b2 ~= data[i + 3] then wrong = wrong + 1 end
      s1 = (s1 + b0) % 255
      s2 = (s2 + s1) % 255
      s1 = (s1 + b1) % 255
      s2 = (s2 + s1) % 255
      s1 = (s1 + b2) % 255
      s2 = (s2 + s1) % 255
      i = i + 3
      n, k = 0, 0
    end
  end
end
print(string.format("%d", chars))
print(string.format("%d", s1))
print(string.format("%d", s2))
print(string.format("%d", wrong))
print(line)
