count = 0
n = 2
while n < 30000 do
  d = 2
  p = true
  while d * d <= n and p do
    if n % d == 0 then p = false end
    d = d + 1
  end
  if p then count = count + 1 end
  n = n + 1
end
print(count)
