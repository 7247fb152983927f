m = [0]
for i = 1 to 60
  for j = 1 to 60
    m(i, j) = 1 / (i + j)
  next
  m(i, i) = m(i, i) + 60
next
for k = 1 to 200: r = INV(m): next
print r(1, 1)
