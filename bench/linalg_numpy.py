#!/usr/bin/python3
"""One dense matrix operation of numpy, timed as linalg_bench times the
engine's: inv, det or the product of random n by n matrices with elements
uniform in [-1, 1]. Prints the seconds and the OpenBLAS kernel in use.

    usage: linalg_numpy.py inv|det|mul real|complex N
"""
import ctypes
import sys
import time
import warnings

import numpy as np


def random_matrix(rng, n, complex_):
    m = rng.uniform(-1, 1, (n, n))
    return m + 1j * rng.uniform(-1, 1, (n, n)) if complex_ else m


def run(op, a, b):
    if op == "inv":
        np.linalg.inv(a)
    elif op == "det":
        np.linalg.det(a)
    else:
        a @ b


def kernel():
    """The kernel of the OpenBLAS numpy loaded, asked of that library itself."""
    with open("/proc/self/maps") as maps:
        paths = {line.split()[-1] for line in maps if "libopenblas" in line}
    if not paths:
        return "no-OpenBLAS"
    lib = ctypes.CDLL(paths.pop())
    lib.openblas_get_corename.restype = ctypes.c_char_p
    return lib.openblas_get_corename().decode()


def main():
    op, kind, n = sys.argv[1], sys.argv[2], int(sys.argv[3])
    warnings.simplefilter("ignore")  # the determinants of large random matrices overflow
    rng = np.random.default_rng(1)
    run(op, random_matrix(rng, 200, kind == "complex"), random_matrix(rng, 200, kind == "complex"))
    a = random_matrix(rng, n, kind == "complex")
    b = random_matrix(rng, n, kind == "complex")
    start = time.perf_counter()
    run(op, a, b)
    print("%.4f %s" % (time.perf_counter() - start, kernel()))


main()
