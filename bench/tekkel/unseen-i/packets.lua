-- a multiplayer game's packets guarded by CRC-16/CCITT (polynomial 0x1021, start 0xFFFF),
-- worked bit by bit with arithmetic only, sent through a noisy channel and checked again
local hex = "0123456789abcdef"
local pow = {1, 2, 4, 8, 16, 32, 64, 128}
local x = 3
local function draw(k)
  x = (x * 1597 + 51749) % 244944
  return math.floor(x * k / 244944)
end

local function crc16(buf, n)
  local crc = 65535
  for i = 1, n do
    local b = buf[i]
    for bit = 1, 8 do
      local top = 0
      if crc >= 32768 then
        crc = crc - 32768
        top = 1
      end
      if b >= 128 then
        b = b - 128
        top = 1 - top
      end
      b = b * 2
      crc = crc * 2
      if top == 1 then
        crc = crc + 1
        if crc % 64 >= 32 then crc = crc - 32 else crc = crc + 32 end
        if crc % 8192 >= 4096 then crc = crc - 4096 else crc = crc + 4096 end
      end
    end
  end
  return crc
end

local function flip(buf, n)
  local i = draw(n) + 1
  local bit = draw(8) + 1
  if buf[i] % (2 * pow[bit]) >= pow[bit] then
    buf[i] = buf[i] - pow[bit]
  else
    buf[i] = buf[i] + pow[bit]
  end
end

local sent, tries, hurt, caught, missed, lost, bytes, sum = 0, 0, 0, 0, 0, 0, 0, 0
local last = ""
local copy, wire = {}, {}
for seq = 1, 9000 do
  local n = draw(17) + 8
  copy[1] = math.floor(seq / 256)
  copy[2] = seq % 256
  copy[3] = draw(6) + 1
  copy[4] = draw(8)
  for i = 5, n do copy[i] = draw(256) end
  local crc = crc16(copy, n)
  copy[n + 1] = math.floor(crc / 256)
  copy[n + 2] = crc % 256
  n = n + 2
  sent = sent + 1
  local delivered = false
  local try = 0
  while not delivered and try < 3 do
    try = try + 1
    tries = tries + 1
    bytes = bytes + n
    for i = 1, n do wire[i] = copy[i] end
    local noise = draw(16)
    if noise == 0 then
      flip(wire, n)
    elseif noise == 1 then
      flip(wire, n)
      flip(wire, n)
    elseif noise == 2 then
      local at = draw(n - 2) + 1
      for i = at, at + 2 do wire[i] = draw(256) end
    end
    local differs = false
    for i = 1, n do
      if wire[i] ~= copy[i] then differs = true end
    end
    if differs then hurt = hurt + 1 end
    if crc16(wire, n) == 0 then
      delivered = true
      if differs then missed = missed + 1 end
      sum = (sum * 31 + wire[n - 1] * 256 + wire[n]) % 1000003
    else
      caught = caught + 1
    end
  end
  if not delivered then lost = lost + 1 end
  if seq == 9000 then
    last = ""
    for i = 1, n do
      local b = wire[i]
      local hi = math.floor(b / 16)
      local lo = b % 16
      last = last .. hex:sub(hi + 1, hi + 1) .. hex:sub(lo + 1, lo + 1)
    end
  end
end
print(sent)
print(tries)
print(hurt)
print(caught)
print(missed)
print(lost)
print(bytes)
print(sum)
print(last)
