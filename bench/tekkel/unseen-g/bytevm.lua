local sources = {
  "push 0 store 1 push 0 store 2 push 2 store 3 load 3 push 5000 lt jz 40 push 2 store 4 load 4 dup mul load 3 gt jnz 27 load 3 load 4 mod jz 35 load 4 push 1 add store 4 jmp 12 load 1 push 1 add store 1 load 2 load 3 add store 2 load 3 push 1 add store 3 jmp 6 load 1 out load 2 out halt",
  "push 0 store 1 push 1 store 2 load 2 push 60 gt jnz 38 push 1 store 3 load 3 push 60 gt jnz 33 load 2 load 3 dup jz 24 dup store 4 mod load 4 swap jmp 16 drop load 1 add store 1 load 3 push 1 add store 3 jmp 10 load 2 push 1 add store 2 jmp 4 load 1 out halt",
  "push 0 store 1 push 0 store 2 push 1 store 3 load 3 push 1500 lt jz 51 load 3 store 4 push 0 store 5 load 4 push 1 eq jnz 38 load 4 push 2 mod jz 29 load 4 push 3 mul push 1 add store 4 jmp 33 load 4 push 2 div store 4 load 5 push 1 add store 5 jmp 14 load 5 load 1 gt jz 46 load 5 store 1 load 3 store 2 load 3 push 1 add store 3 jmp 6 load 2 out load 1 out halt",
}

local function assemble(src)
  local code, args = {}, {}
  for word in src:gmatch("%S+") do
    if word:match("^%d") then
      args[#code] = tonumber(word)
    else
      code[#code + 1] = word
    end
  end
  return code, args
end

local total, deepest = 0, 0
for g = 1, #sources do
  local code, args = assemble(sources[g])
  local stack, mem = {}, {}
  for i = 1, 8 do mem[i] = 0 end
  local sp, pc, steps, out = 0, 1, 0, "guest " .. g .. ":"
  while true do
    local op, a = code[pc], args[pc]
    pc = pc + 1
    steps = steps + 1
    if op == "push" then
      sp = sp + 1
      stack[sp] = a
      if sp > deepest then deepest = sp end
    elseif op == "load" then
      sp = sp + 1
      stack[sp] = mem[a]
      if sp > deepest then deepest = sp end
    elseif op == "store" then
      mem[a] = stack[sp]
      sp = sp - 1
    elseif op == "add" then
      sp = sp - 1
      stack[sp] = stack[sp] + stack[sp + 1]
    elseif op == "sub" then
      sp = sp - 1
      stack[sp] = stack[sp] - stack[sp + 1]
    elseif op == "mul" then
      sp = sp - 1
      stack[sp] = stack[sp] * stack[sp + 1]
    elseif op == "div" then
      sp = sp - 1
      stack[sp] = math.floor(stack[sp] / stack[sp + 1])
    elseif op == "mod" then
      sp = sp - 1
      stack[sp] = stack[sp] % stack[sp + 1]
    elseif op == "lt" then
      sp = sp - 1
      stack[sp] = stack[sp] < stack[sp + 1] and 1 or 0
    elseif op == "gt" then
      sp = sp - 1
      stack[sp] = stack[sp] > stack[sp + 1] and 1 or 0
    elseif op == "eq" then
      sp = sp - 1
      stack[sp] = stack[sp] == stack[sp + 1] and 1 or 0
    elseif op == "jz" then
      if stack[sp] == 0 then pc = a + 1 end
      sp = sp - 1
    elseif op == "jnz" then
      if stack[sp] ~= 0 then pc = a + 1 end
      sp = sp - 1
    elseif op == "jmp" then
      pc = a + 1
    elseif op == "dup" then
      sp = sp + 1
      stack[sp] = stack[sp - 1]
      if sp > deepest then deepest = sp end
    elseif op == "swap" then
      stack[sp], stack[sp - 1] = stack[sp - 1], stack[sp]
    elseif op == "drop" then
      sp = sp - 1
    elseif op == "out" then
      out = out .. " " .. string.format("%d", stack[sp])
      sp = sp - 1
    else -- halt
      break
    end
  end
  total = total + steps
  print(out)
  print(steps)
end
print(total)
print(deepest)
