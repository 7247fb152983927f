n = 60
m = {}
for i = 1, n do
  m[i] = {}
  for j = 1, n do m[i][j] = 1 / (i + j) end
  m[i][i] = m[i][i] + 60
end

function inverse(a)
  local w, r = {}, {}
  for i = 1, n do
    w[i], r[i] = {}, {}
    for j = 1, n do
      w[i][j] = a[i][j]
      r[i][j] = (i == j) and 1 or 0
    end
  end
  for c = 1, n do
    local pivot = w[c][c]
    for s = 1, n do
      if s ~= c then
        local f = -w[s][c] / pivot
        local ws, wc, rs, rc = w[s], w[c], r[s], r[c]
        for l = 1, n do
          ws[l] = ws[l] + f * wc[l]
          rs[l] = rs[l] + f * rc[l]
        end
      end
    end
  end
  for s = 1, n do
    local d = w[s][s]
    for l = 1, n do r[s][l] = r[s][l] / d end
  end
  return r
end

for k = 1, 200 do r = inverse(m) end
print(r[1][1])
