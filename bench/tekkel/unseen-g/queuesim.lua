local seed = 42
local function draw(k)
  seed = (seed * 1366 + 150889) % 714025
  return math.floor(seed * k / 714025)
end

local head = nil
local function schedule(time, kind, counter)
  local ev = {time = time, kind = kind, counter = counter}
  local prev, cur = nil, head
  while cur and cur.time <= time do
    prev, cur = cur, cur.next
  end
  ev.next = cur
  if prev then prev.next = ev else head = ev end
end

local ring, first, last = {}, 1, 0
local busy, busytime, servedby = {0, 0, 0}, {0, 0, 0}, {0, 0, 0}
local arrived, served, totalwait, maxwait, queue, maxqueue, now = 0, 0, 0, 0, 0, 0, 0
local events = 0

local function serve(c)
  local t = draw(27) + 4
  busy[c] = 1
  busytime[c] = busytime[c] + t
  schedule(now + t, "leave", c)
end

schedule(0, "arrive", 0)
while head do
  local ev = head
  head = ev.next
  now = ev.time
  events = events + 1
  if ev.kind == "arrive" then
    arrived = arrived + 1
    if arrived < 100000 then
      schedule(now + draw(12) + 1, "arrive", 0)
    end
    local c = 1
    while c <= 3 and busy[c] == 1 do c = c + 1 end
    if c <= 3 then
      serve(c)
    else
      last = last + 1
      if last > 1024 then last = 1 end
      ring[last] = now
      queue = queue + 1
      if queue > maxqueue then maxqueue = queue end
    end
  else
    local c = ev.counter
    served = served + 1
    servedby[c] = servedby[c] + 1
    if queue > 0 then
      local waited = now - ring[first]
      first = first + 1
      if first > 1024 then first = 1 end
      queue = queue - 1
      totalwait = totalwait + waited
      if waited > maxwait then maxwait = waited end
      serve(c)
    else
      busy[c] = 0
    end
  end
end
print(events)
print(served)
print(now)
print(totalwait)
print(maxwait)
print(maxqueue)
print(string.format("%.15g", totalwait / served))
for c = 1, 3 do
  print(string.format("counter %d: %d served, busy %d", c, servedby[c], busytime[c]))
end
