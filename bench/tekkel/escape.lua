-- Tekkel's comparison rounds the difference to an integer, halves to even: x2 + y2 against 4
-- is "not below" from 3.5 on.
local rounds, stayed = 0, 0
for row = 0, 79 do
  for col = 0, 119 do
    local cx, cy = col * 0.025 + -2.0, row * 0.03 + -1.2
    local x, y, n = 0.0, 0.0, 0
    local escaped = false
    while n < 300 do
      local x2, y2 = x * x, y * y
      if x2 + y2 - 4.0 >= -0.5 then escaped = true break end
      y = x * y * 2.0 + cy
      x = x2 - y2 + cx
      n = n + 1
    end
    if not escaped then stayed = stayed + 1 end
    rounds = rounds + n
  end
end
print(stayed)
print(rounds)
