#!/usr/bin/python3
"""Writes reference values for the numeric library's tests from mpmath.

reference/modulus.tsv: one number a line as re, im, then |z| and the principal
square root's real and imaginary parts, each exact at the double arguments and
rounded to 20 significant digits.

reference/inverses.tsv: one square matrix a line as a label, n, the n*n
elements row by row as re,im pairs, the same for its inverse, and its
determinant as re,im. Inverses and determinants are computed at 50 digits.

The tests only read these files.

    /usr/bin/python3 tests/numeric/make_reference.py
"""
import os

import mpmath as mp

mp.mp.dps = 50
HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "reference")


def num(v):
    return mp.nstr(mp.mpf(v), 20, min_fixed=-1, max_fixed=1) if v != 0 else "0"


def lit(x):
    return repr(float(x))


# Ordinary numbers, numbers whose squares overflow, and numbers whose squares
# underflow (to subnormals or to zero), alone or beside a part of another size.
MODULUS = [
    (3, 4), (-3, -4), (1, 1), (0.5, -2), (1e10, 1e-10), (-7.25, 0), (0, 2.5),
    (-1e300, 0), (1e300, 1e300), (1e200, 0), (1e308, 1e307), (-1e154, 1e154), (1e-200, 1e200),
    (3e-200, 4e-200), (1e-320, 0), (0, -5e-324), (1e-160, 1e-170), (2.5e-310, -1e-311),
    (1.5e-154, 2e-154), (-1e-300, 1e-300),
]


def modulus_rows():
    rows = []
    for re, im in MODULUS:
        z = mp.mpc(float(re), float(im))
        root = mp.sqrt(z)
        rows.append([lit(re), lit(im), num(abs(z)), num(root.real), num(root.imag)])
    return rows


# Matrices on which elimination that takes the first non-zero pivot loses the
# result, and small permutations whose determinants carry the exchanges' sign.
MATRICES = {
    "tiny first pivot": [[1e-20, 1], [1, 1]],
    "tiny pivots 3x3": [[1e-18, 2, 3], [4, 5, 6], [7, 8, 10]],
    "tiny complex pivot": [[1e-17j, 1 + 1j], [2, 3 - 1j]],
    "growing pivots 4x4": [[1e-12, 1, 2, 3], [1, 1e-12, 4, 1], [2, 1, 1e-12, 5], [3, 4, 1, 1e-12]],
    "cycle": [[0, 1, 0], [0, 0, 1], [1, 0, 0]],
    "reversal 4x4": [[0, 0, 0, 2], [0, 0, 3, 0], [0, 5, 0, 0], [7, 0, 0, 0]],
    "complex 3x3": [[1 + 2j, 2, 0.5j], [3, -1 + 1j, 2], [0.25, 4, 1 - 3j]],
}


def pairs(values):
    return [x for v in values for x in (num(mp.re(v)), num(mp.im(v)))]


def matrix_rows():
    rows = []
    for label, a in MATRICES.items():
        m = mp.matrix([[mp.mpc(complex(x).real, complex(x).imag) for x in row] for row in a])
        inverse = m ** -1
        n = len(a)
        elements = [complex(x) for row in a for x in row]
        given = [x for z in elements for x in (lit(z.real), lit(z.imag))]
        inv = pairs([inverse[i, j] for i in range(n) for j in range(n)])
        rows.append([label, str(n)] + given + inv + pairs([mp.det(m)]))
    return rows


def write(name, rows):
    with open(os.path.join(OUT, name + ".tsv"), "w") as f:
        for row in rows:
            f.write("\t".join(row) + "\n")
    print(name, len(rows))


write("modulus", modulus_rows())
write("inverses", matrix_rows())
