s = 0: FOR i = 1 TO 10000000: s = s + i: NEXT: print s
