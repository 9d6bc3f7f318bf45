-- Level data packed by LZW with a hashed dictionary and unpacked again (see lzw.tkl).
local seed = 41
local function draw(k)
  seed = (1366 * seed + 150889) % 714025
  return math.floor(seed * k / 714025)
end

local HASH, MAXCODE, MESSAGES = 5003, 4096, 120
local pattern, plen = {}, {}
for p = 0, 29 do
  plen[p] = 3 + draw(6)
  for j = 0, plen[p] - 1 do pattern[8 * p + j] = draw(8) end
end

local data, out, key, value = {}, {}, {}, {}
local dprefix, dsuffix, stack = {}, {}, {}
local symbols, codes, bits, probes, wrong, checksum = 0, 0, 0, 0, 0, 0
for m = 1, MESSAGES do
  local n = 0
  while n < 4800 do
    if draw(10) == 0 then
      n = n + 1
      data[n] = draw(8)
    else
      local p = draw(30)
      for j = 0, plen[p] - 1 do
        n = n + 1
        data[n] = pattern[8 * p + j]
      end
    end
  end
  symbols = symbols + n

  for h = 0, HASH - 1 do key[h] = -1 end
  local nextCode, limit, width, count = 8, 8, 3, 0
  local function emit(code)
    while limit < nextCode do
      limit = limit * 2
      width = width + 1
    end
    bits = bits + width
    checksum = (checksum * 31 + code) % 1000003
    count = count + 1
    out[count] = code
  end
  local w = data[1]
  for i = 2, n do
    local c = data[i]
    local k = w * 8 + c
    local h = k % HASH
    while key[h] ~= -1 and key[h] ~= k do
      probes = probes + 1
      h = h + 1
      if h == HASH then h = 0 end
    end
    if key[h] == k then
      w = value[h]
    else
      emit(w)
      if nextCode < MAXCODE then
        key[h] = k
        value[h] = nextCode
        nextCode = nextCode + 1
      end
      w = c
    end
  end
  emit(w)
  codes = codes + count

  -- unpacking builds its own dictionary and checks each symbol against the data
  local dnext, pos = 8, 0
  local prev = out[1]
  pos = pos + 1
  if data[pos] ~= prev then wrong = wrong + 1 end
  local first = prev
  for j = 2, count do
    local code = out[j]
    local t = code
    local top = 0
    if code >= dnext then
      top = 1
      stack[1] = first
      t = prev
    end
    while t >= 8 do
      top = top + 1
      stack[top] = dsuffix[t]
      t = dprefix[t]
    end
    top = top + 1
    stack[top] = t
    first = t
    while top > 0 do
      pos = pos + 1
      if data[pos] ~= stack[top] then wrong = wrong + 1 end
      top = top - 1
    end
    if dnext < MAXCODE then
      dprefix[dnext] = prev
      dsuffix[dnext] = first
      dnext = dnext + 1
    end
    prev = code
  end
  if pos ~= n then wrong = wrong + 1 end
  if m % 10 == 0 then
    print(m .. ": " .. n .. " symbols, " .. count .. " codes, " .. dnext .. " entries")
  end
end
print(symbols)
print(codes)
print(bits)
print(probes)
print(wrong)
print(checksum)
print(string.format("%.15g", bits / (symbols * 3)))
