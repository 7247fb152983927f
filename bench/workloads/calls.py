def f(x):
    return x * x + 1
s = 0
for i in range(1, 1000001):
    s = s + f(i)
print(s)
