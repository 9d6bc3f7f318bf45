local prog = {"x", "d", "*", 3, "x", "*", "+", 7, "+", "=", "x", 2, "+", "x", 1, "+", "*", "x", "-", "=", 5, "x", "*", 4, "s", "-", "d", "*", "=", "x", "x", "x", "*", "*", 9, "x", "*", "-", 1000, "+", "="}
local stack = {}
local sum, last = 0, 0
for pass = 1, 400 do
  for x = 1, 100 do
    local sp = 0
    for pc = 1, #prog do
      local t = prog[pc]
      if t == "x" then
        sp = sp + 1
        stack[sp] = x
      elseif t == "+" then
        local b = stack[sp]
        sp = sp - 1
        stack[sp] = stack[sp] + b
      elseif t == "-" then
        local b = stack[sp]
        sp = sp - 1
        stack[sp] = stack[sp] - b
      elseif t == "*" then
        local b = stack[sp]
        sp = sp - 1
        stack[sp] = stack[sp] * b
      elseif t == "d" then
        local a = stack[sp]
        sp = sp + 1
        stack[sp] = a
      elseif t == "s" then
        stack[sp], stack[sp - 1] = stack[sp - 1], stack[sp]
      elseif t == "=" then
        last = stack[sp]
        sum = (sum + last) % 1000003
        sp = 0
      else
        sp = sp + 1
        stack[sp] = t
      end
    end
  end
end
print(sum)
print(last)
