n = 60
m = [[1.0 / (i + j) + (60 if i == j else 0) for j in range(1, n + 1)] for i in range(1, n + 1)]

def inverse(a):
    w = [row[:] for row in a]
    r = [[1.0 if i == j else 0.0 for j in range(n)] for i in range(n)]
    for c in range(n):
        pivot = w[c][c]
        for s in range(n):
            if s == c:
                continue
            f = -w[s][c] / pivot
            ws, wc, rs, rc = w[s], w[c], r[s], r[c]
            for l in range(n):
                ws[l] += f * wc[l]
                rs[l] += f * rc[l]
    for s in range(n):
        d = w[s][s]
        r[s] = [x / d for x in r[s]]
    return r

for k in range(200):
    r = inverse(m)
print(r[0][0])
