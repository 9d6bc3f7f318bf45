local N, W, H, dt = 16, 40.0, 24.0, 0.01
local x, y, vx, vy = {}, {}, {}, {}
for i = 1, N do
  x[i] = 4.0 + 8.0 * ((i - 1) % 4)
  y[i] = 4.0 + 5.5 * math.floor((i - 1) / 4)
  vx[i] = (i * 37 % 21 - 10) / 2.0
  vy[i] = (i * 53 % 17 - 8) / 2.0
end
local walls, hits = 0, 0
for step = 1, 20000 do
  for i = 1, N do
    local nx = x[i] + vx[i] * dt
    if nx - 1.0 < 0 then
      nx = 2.0 - nx
      vx[i] = -vx[i]
      walls = walls + 1
    elseif nx - (W - 1.0) > 0 then
      nx = 2.0 * (W - 1.0) - nx
      vx[i] = -vx[i]
      walls = walls + 1
    end
    x[i] = nx
    local ny = y[i] + vy[i] * dt
    if ny - 1.0 < 0 then
      ny = 2.0 - ny
      vy[i] = -vy[i]
      walls = walls + 1
    elseif ny - (H - 1.0) > 0 then
      ny = 2.0 * (H - 1.0) - ny
      vy[i] = -vy[i]
      walls = walls + 1
    end
    y[i] = ny
  end
  for i = 1, N - 1 do
    for j = i + 1, N do
      local dx = x[j] - x[i]
      local dy = y[j] - y[i]
      local d2 = dx * dx + dy * dy
      if d2 - 4.0 < 0 then
        local dot = (vx[j] - vx[i]) * dx + (vy[j] - vy[i]) * dy
        if dot < 0 then
          local k = dot / d2
          vx[i] = vx[i] + k * dx
          vy[i] = vy[i] + k * dy
          vx[j] = vx[j] - k * dx
          vy[j] = vy[j] - k * dy
          hits = hits + 1
        end
      end
    end
  end
end
local energy, sx, sy = 0.0, 0.0, 0.0
for i = 1, N do
  energy = energy + (vx[i] * vx[i] + vy[i] * vy[i]) / 2.0
  sx = sx + x[i]
  sy = sy + y[i]
end
print(walls)
print(hits)
print(string.format("%.15g", energy))
print(string.format("%.15g", sx))
print(string.format("%.15g", sy))
print(string.format("%.15g", x[1]))
print(string.format("%.15g", vy[N]))
