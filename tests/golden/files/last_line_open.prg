x = 40
print x + 2