-- Heat spreading over a metal plate by over-relaxed Gauss-Seidel sweeps (see heat.tkl).
local N, SWEEPS = 48, 500
local t, fixed = {}, {}
for y = 0, N - 1 do
  for x = 0, N - 1 do
    local i = y * N + x
    if y == 0 then
      t[i] = 100.0
      fixed[i] = true
    elseif y == N - 1 or x == 0 or x == N - 1 then
      t[i] = 0.0
      fixed[i] = true
    else
      t[i] = 0.0
      fixed[i] = false
    end
  end
end
local sources = {{10, 12, 250.0}, {11, 12, 250.0}, {10, 13, 250.0}, {35, 8, 180.0},
                 {24, 33, -60.0}, {25, 33, -60.0}, {40, 40, 75.5}}
for _, s in ipairs(sources) do
  local i = s[2] * N + s[1]
  t[i] = s[3]
  fixed[i] = true
end

for sweep = 1, SWEEPS do
  local most = 0.0
  for y = 1, N - 2 do
    for x = 1, N - 2 do
      local i = y * N + x
      if not fixed[i] then
        local old = t[i]
        local avg = (t[i - N] + t[i + N] + t[i - 1] + t[i + 1]) * 0.25
        local change = (avg - old) * 1.6
        t[i] = old + change
        if change < 0 then change = -change end
        if change > most then most = change end
      end
    end
  end
  if sweep % 100 == 0 then
    local sum = 0.0
    for i = 0, N * N - 1 do sum = sum + t[i] end
    print(sweep)
    print(string.format("%.15g", sum))
    print(string.format("%.15g", most))
    print(string.format("%.15g", t[24 * N + 24]))
  end
end
local warm, cold = 0, 0
for i = 0, N * N - 1 do
  if t[i] > 50 then warm = warm + 1 end
  if t[i] < 0 then cold = cold + 1 end
end
print(warm)
print(cold)
