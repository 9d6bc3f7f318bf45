for n = 6, 11 do
  local pos, cols, up, down = {}, {}, {}, {}
  for i = 1, n do pos[i] = 0; cols[i] = false end
  for i = 2, 2 * n do up[i] = false end
  for i = 1, 2 * n - 1 do down[i] = false end
  local row, solutions = 1, 0
  while true do
    local c = pos[row] + 1
    pos[row] = c
    if c > n then
      row = row - 1
      if row == 0 then break end
      c = pos[row]
      cols[c] = false
      up[row + c] = false
      down[row - c + n] = false
    elseif not cols[c] and not up[row + c] and not down[row - c + n] then
      if row == n then
        solutions = solutions + 1
      else
        cols[c] = true
        up[row + c] = true
        down[row - c + n] = true
        row = row + 1
        pos[row] = 0
      end
    end
  end
  print(solutions)
end
