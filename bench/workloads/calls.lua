function f(x) return x * x + 1 end
s = 0
for i = 1, 1000000 do s = s + f(i) end
print(s)
