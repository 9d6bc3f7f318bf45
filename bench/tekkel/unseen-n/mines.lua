-- Minesweeper boards dealt and played by a solver that guesses when stuck (see mines.tkl).
local seed = 27
local function draw(k)
  seed = (419 * seed + 6173) % 29282
  return math.floor(seed * k / 29282)
end

local BOARDS, N, W, MINES = 380, 16, 18, 40
local OFF = {-19, -18, -17, -1, 1, 17, 18, 19}
local mine, count, state, stack = {}, {}, {}, {}
local opened = 0

local function reveal(cell)
  local top = 1
  stack[1] = cell
  while top > 0 do
    local c = stack[top]
    top = top - 1
    if state[c] == 0 then
      state[c] = 1
      opened = opened + 1
      if count[c] == 0 then
        for d = 1, 8 do
          local n = c + OFF[d]
          if state[n] == 0 then
            top = top + 1
            stack[top] = n
          end
        end
      end
    end
  end
end

local won, lost, guesses, flags, passes, openedAll = 0, 0, 0, 0, 0, 0
for board = 1, BOARDS do
  for i = 1, W * W do
    mine[i] = 0
    count[i] = 0
    state[i] = 1
  end
  for r = 1, N do
    for c = 1, N do state[r * W + c + 1] = 0 end
  end
  local fr = draw(N) + 1
  local fc = draw(N) + 1
  local placed = 0
  while placed < MINES do
    local r = draw(N) + 1
    local c = draw(N) + 1
    local i = r * W + c + 1
    if mine[i] == 0 and (r - fr > 1 or fr - r > 1 or c - fc > 1 or fc - c > 1) then
      mine[i] = 1
      placed = placed + 1
    end
  end
  for r = 1, N do
    for c = 1, N do
      local i = r * W + c + 1
      local n = 0
      for d = 1, 8 do n = n + mine[i + OFF[d]] end
      count[i] = n
    end
  end
  if board == 1 then
    local text = ""
    for r = 1, N do
      for c = 1, N do
        local i = r * W + c + 1
        if mine[i] == 1 then
          text = text .. "*"
        elseif count[i] == 0 then
          text = text .. "."
        else
          text = text .. count[i]
        end
      end
      if r < N then text = text .. "\n" end
    end
    print(text)
  end
  opened = 0
  reveal(fr * W + fc + 1)
  while true do
    local progress = true
    while progress do
      progress = false
      passes = passes + 1
      for r = 1, N do
        for c = 1, N do
          local i = r * W + c + 1
          if state[i] == 1 and count[i] > 0 then
            local hidden, flagged = 0, 0
            for d = 1, 8 do
              local s = state[i + OFF[d]]
              if s == 0 then
                hidden = hidden + 1
              elseif s == 2 then
                flagged = flagged + 1
              end
            end
            if hidden > 0 then
              if flagged + hidden == count[i] then
                for d = 1, 8 do
                  if state[i + OFF[d]] == 0 then state[i + OFF[d]] = 2 end
                end
                flags = flags + hidden
                progress = true
              elseif flagged == count[i] then
                for d = 1, 8 do
                  if state[i + OFF[d]] == 0 then reveal(i + OFF[d]) end
                end
                progress = true
              end
            end
          end
        end
      end
    end
    if opened == N * N - MINES then
      won = won + 1
      break
    end
    local i
    repeat
      local r = draw(N) + 1
      local c = draw(N) + 1
      i = r * W + c + 1
    until state[i] == 0
    guesses = guesses + 1
    if mine[i] == 1 then
      lost = lost + 1
      break
    end
    reveal(i)
  end
  openedAll = openedAll + opened
end
print("won " .. won .. ", lost " .. lost)
print("guesses " .. guesses .. ", flags " .. flags)
print(passes)
print(openedAll)
