-- Cars on a ring road by the Nagel-Schreckenberg rules (see traffic.tkl).
local seed = 11
local function draw(k)
  seed = (2041 * seed + 25673) % 121500
  return math.floor(seed * k / 121500)
end

local L, VMAX, STEPS = 1000, 5, 2000
for _, n in ipairs({100, 200, 300}) do
  local pos, v = {}, {}
  for i = 1, n do
    pos[i] = math.floor((i - 1) * L / n)
    v[i] = 0
  end
  local distance, stopped, laps, jammed = 0, 0, 0, 0
  for step = 1, STEPS do
    for i = 1, n do
      local ahead
      if i == n then ahead = pos[1] else ahead = pos[i + 1] end
      local gap = ahead - pos[i] - 1
      if gap < 0 then gap = gap + L end
      local s = v[i]
      if s < VMAX then s = s + 1 end
      if s > gap then s = gap end
      if s > 0 then
        if draw(4) == 0 then s = s - 1 end
      end
      v[i] = s
    end
    local still = 0
    for i = 1, n do
      local s = v[i]
      if s == 0 then
        still = still + 1
      else
        distance = distance + s
        local p = pos[i] + s
        if p >= L then
          p = p - L
          laps = laps + 1
        end
        pos[i] = p
      end
    end
    stopped = stopped + still
    if still * 10 > n then jammed = jammed + 1 end
  end
  local road = {}
  for c = 0, 59 do road[c] = "." end
  local checksum = 0
  for i = 1, n do
    if pos[i] < 60 then road[pos[i]] = tostring(v[i]) end
    checksum = (checksum * 3 + pos[i]) % 1000003
  end
  local text = ""
  for c = 0, 59 do text = text .. road[c] end
  print(n .. " " .. distance .. " " .. stopped .. " " .. laps .. " " .. jammed .. " " .. checksum)
  print(text)
end
