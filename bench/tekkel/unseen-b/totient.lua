local N = 600000
local phi = {}
for n = 1, N do phi[n] = n end
local primes = 0
for p = 2, N do
  if phi[p] == p then
    primes = primes + 1
    for m = p, N, p do
      phi[m] = phi[m] - phi[m] // p
    end
  end
end
local sum = 0
for n = 1, N do sum = sum + phi[n] end
print(primes)
print(sum)
print(phi[600000])
