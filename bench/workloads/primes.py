count = 0
n = 2
while n < 30000:
    d = 2
    p = 1
    while d * d <= n and p:
        if n % d == 0:
            p = 0
        d = d + 1
    if p:
        count = count + 1
    n = n + 1
print(count)
