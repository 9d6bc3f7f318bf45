-- Sparse polynomials modulo 10,007 as linked lists of terms (see polyalloc.tkl).
local P = 10007
local seed = 3
local function draw(k)
  seed = (741 * seed + 66037) % 312500
  return math.floor(seed * k / 312500)
end

-- a list is a head {next = first term}; a term is {c = coefficient, e = exponent, next = term}
local function insert(list, c, e)
  local prev, cur = list, list.next
  while cur and cur.e > e do prev, cur = cur, cur.next end
  if cur and cur.e == e then
    local s = (cur.c + c) % P
    if s == 0 then prev.next = cur.next else cur.c = s end
  else
    prev.next = {c = c, e = e, next = cur}
  end
end

local function random(n)
  local list = {}
  for i = 1, n do
    local e = draw(40)
    draw(1)
    local c = seed % (P - 1) + 1
    insert(list, c, e)
  end
  return list
end

local function value(list, x)
  local acc, prev = 0, -1
  local t = list.next
  while t do
    if prev >= 0 then
      for i = 1, prev - t.e do acc = acc * x % P end
    end
    acc = (acc + t.c) % P
    prev = t.e
    t = t.next
  end
  if prev > 0 then
    for i = 1, prev do acc = acc * x % P end
  end
  return acc
end

local terms, checksum, verified, dterms = 0, 0, 0, 0
local text = ""
for round = 1, 4000 do
  local np = draw(6) + 3
  local p = random(np)
  local nq = draw(6) + 3
  local q = random(nq)
  local s = {}
  local a = p.next
  while a do
    local b = q.next
    while b do
      insert(s, a.c * b.c % P, a.e + b.e)
      b = b.next
    end
    a = a.next
  end
  -- the derivative, built in order at its tail
  local d = {}
  local tail = d
  local t = s.next
  while t do
    terms = terms + 1
    if t.e > 0 and t.c * t.e % P ~= 0 then
      tail.next = {c = t.c * t.e % P, e = t.e - 1}
      tail = tail.next
      dterms = dterms + 1
    end
    t = t.next
  end
  local good = true
  for x = 2, 6 do
    local v = value(s, x)
    checksum = (checksum * 31 + v + value(d, x)) % 1000003
    if v ~= value(p, x) * value(q, x) % P then good = false end
  end
  if good then verified = verified + 1 end
  if round % 1000 == 0 then
    text = ""
    t = s.next
    while t do
      if text ~= "" then text = text .. " + " end
      if t.e == 0 then text = text .. t.c
      elseif t.e == 1 then text = text .. t.c .. "x"
      else text = text .. t.c .. "x^" .. t.e end
      t = t.next
    end
    print(text)
  end
end
print(terms)
print(dterms)
print(checksum)
print(verified)
