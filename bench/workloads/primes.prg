count = 0
n = 2
while n < 30000 do
  d = 2
  p = 1
  while d * d <= n and p do
    if n mod d = 0 then p = 0: endif
    d = d + 1
  endwhile
  if p then count = count + 1: endif
  n = n + 1
endwhile
print count
