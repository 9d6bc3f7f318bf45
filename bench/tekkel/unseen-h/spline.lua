-- a camera's path through 25 waypoints a round, as a natural cubic spline
local n = 24
local x = 21
local function draw(k)
  x = (281 * x + 28411) % 134456
  return math.floor(x * k / 134456)
end

local u, v, u3, v3 = {}, {}, {}, {}
for k = 0, 9 do
  u[k] = k / 10
  v[k] = 1 - u[k]
  u3[k] = (u[k] * u[k]) * u[k]
  v3[k] = (v[k] * v[k]) * v[k]
end

local y, M, cp, dp = {}, {}, {}, {}
local sum, high, low, crossings, below = 0, -1000000, 1000000, 0, false
local middle = 0
for round = 1, 5000 do
  for i = 0, n do y[i] = (draw(2001) - 1000) / 100 end
  -- M(i-1) + 4 M(i) + M(i+1) = 6 (y(i+1) - 2 y(i) + y(i-1)), M(0) = M(n) = 0, by Thomas
  for i = 1, n - 1 do
    local d = (((y[i + 1] - y[i]) - y[i]) + y[i - 1]) * 6
    if i == 1 then
      cp[i] = 0.25
      dp[i] = d / 4
    else
      local m = 4 - cp[i - 1]
      cp[i] = 1 / m
      dp[i] = (d - dp[i - 1]) / m
    end
  end
  M[0], M[n] = 0, 0
  M[n - 1] = dp[n - 1]
  for i = n - 2, 1, -1 do M[i] = dp[i] - cp[i] * M[i + 1] end
  -- ten points an interval
  for i = 0, n - 1 do
    local A = M[i] / 6
    local B = M[i + 1] / 6
    local C = y[i] - A
    local D = y[i + 1] - B
    for k = 0, 9 do
      local S = A * v3[k]
      S = S + B * u3[k]
      S = S + C * v[k]
      S = S + D * u[k]
      if (S < 0) ~= below then
        crossings = crossings + 1
        below = S < 0
      end
      sum = sum + S
      if S > high then high = S end
      if S < low then low = S end
      if i == 12 and k == 5 then middle = S end
    end
  end
end
print(string.format("%.15g", sum * 0.1))
print(string.format("%.15g", high))
print(string.format("%.15g", low))
print(crossings)
print(string.format("%.15g", M[12]))
print(string.format("%.15g", middle))
