function f(x): f = x * x + 1: endfn
s = 0: for i = 1 to 1000000: s = s + f(i): next: print s
