#!/usr/bin/python3
"""Writes the reference values for the start-up library's numerical functions.

Each output file reference/NAME.tsv holds one case a line: the call as a user
types it, a tab, and the exact value of the function at the double arguments
of the call, rounded to 20 significant digits. The values come from mpmath at
60 digits; the library test reads these files and needs no mpmath itself.

    /usr/bin/python3 tests/library/make_reference.py
"""
import os
import sys

import mpmath as mp

mp.mp.dps = 60
HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "reference")


def lit(x):
    """A literal that reads back as exactly this double (negatives in parentheses)."""
    s = repr(float(x))
    return "(" + s + ")" if s.startswith("-") else s


def num(v):
    return mp.nstr(mp.mpf(v), 20, min_fixed=-1, max_fixed=1) if v != 0 else "0"


def write(name, rows):
    with open(os.path.join(OUT, name + ".tsv"), "w") as f:
        for call, value in rows:
            f.write(call + "\t" + num(value) + "\n")
    print(name, len(rows))


def call(name, *args):
    return name + "(" + ",".join(a if isinstance(a, str) else lit(a) for a in args) + ")"


def exact(x):
    return mp.mpf(float(x))


def gamma_rows():
    xs = [0.001, 0.01, 0.1, 0.25, 0.5, 0.75, 1, 1.5, 2, 2.5, 3, 3.7, 5, 7.25, 10, 12.5, 20, 33.3, 50,
          75.5, 100, 120.25, 150, 170.5, 171.5, 1e-10, 1e-5]
    xs += [-0.5, -1.5, -2.5, -0.001, -0.999, -1.001, -3.25, -10.5, -20.1, -50.5, -99.9, -150.5, -170.5,
           -1 + 1e-9, -5 - 1e-9, -2.5e-5]
    xs += [0.5 + 0.37 * k for k in range(40)]
    return [(call("gamma", x), mp.gamma(exact(x))) for x in xs]


BESSEL_X = [1e-5, 0.01, 0.1, 0.5, 1, 1.5, 2, 2.5, 3.3, 5, 7.5, 10, 12.75, 15, 19.9, 24.5, 25, 25.5, 30,
            40, 50, 75, 100, 150, 200]


LARGE_X = [1000, 1e4, 1e5]


def bessel_zero_x(kind, n):
    fn = mp.besseljzero if kind == "J" else mp.besselyzero
    return [float(fn(n, k)) for k in (1, 2, 5, 10)]


def bessel_rows(name, fn, orders, xs):
    rows = []
    for n in orders:
        for x in xs:
            v = fn(n, exact(x))
            if mp.mpf("1e-300") < abs(v) < mp.mpf("1e300"):  # values a double holds
                rows.append((call(name, n, x), v))
    return rows


def bessel_zero_rows(name, fn, orders, kind):
    """Points at the doubles nearest the first, second, fifth and tenth zeros."""
    return [(call(name, n, x), fn(n, exact(x))) for n in orders for x in bessel_zero_x(kind, n)]


def normal_tail(x):
    return mp.ncdf(-x)


def chi_tail(n, x):
    return mp.gammainc(mp.mpf(n) / 2, x / 2, mp.inf, regularized=True)


def t_tail(n, t):
    n = mp.mpf(n)
    x = n / (n + t * t)
    half = mp.betainc(n / 2, mp.mpf(1) / 2, 0, x, regularized=True) / 2
    return half if t >= 0 else 1 - half


def f_tail(n1, n2, f):
    n1, n2 = mp.mpf(n1), mp.mpf(n2)
    return mp.betainc(n2 / 2, n1 / 2, 0, n2 / (n2 + n1 * f), regularized=True)


def tail_rows():
    normal = [(call("normal", x), normal_tail(exact(x)))
              for x in [-37, -10, -5, -2, -1, -0.5, -1e-3, 0, 1e-8, 0.1, 0.5, 1, 1.5, 2, 2.5, 3, 4, 5,
                        6, 8, 10, 15, 20, 25, 30, 35, 37]]
    chi = []
    for n in [1, 2, 3, 5, 10, 30, 100, 1000]:
        for x in [1e-3, 0.1, 0.5, 1, 2, 5, 10, 20, 50, 100, 300, 700, 1200, 1500, 2000]:
            if chi_tail(n, exact(x)) > mp.mpf("1e-300"):
                chi.append((call("upperX", n, x), chi_tail(n, exact(x))))
    tt = []
    for n in [1, 2, 3, 5, 10, 30, 100, 1000]:
        for t in [-20, -3, -1, -0.1, 0, 0.05, 0.5, 1, 2, 3, 5, 10, 30, 100, 1e3, 1e5, 1e10, 1e50, 1e100]:
            v = t_tail(n, exact(t))
            if v > mp.mpf("1e-300"):
                tt.append((call("upperT", n, t), v))
    ff = []
    for n1, n2 in [(1, 1), (1, 10), (2, 5), (3, 7), (5, 2), (10, 10), (10, 100), (30, 40), (100, 3), (200, 500)]:
        for f in [1e-4, 0.01, 0.2, 0.5, 1, 1.5, 2, 4, 10, 100, 1e4, 1e8, 1e20, 1e60]:
            v = f_tail(n1, n2, exact(f))
            if v > mp.mpf("1e-300"):
                ff.append((call("upperF", n1, n2, f), v))
    return normal, chi, tt, ff


PS = [1e-300, 1e-100, 1e-20, 1e-10, 1e-5, 1e-3, 0.01, 0.05, 0.1, 0.25, 0.4, 0.5, 0.6, 0.75, 0.9, 0.95,
      0.99, 0.999, 0.999999]


def bisect(tail, p, lo, hi, log=False):
    """x with tail(x) = p for a decreasing tail, by bisection (geometric with log)."""
    p = mp.mpf(p)
    for _ in range(400):
        mid = mp.sqrt(lo * hi) if log else (lo + hi) / 2
        if tail(mid) > p:
            lo = mid
        else:
            hi = mid
    return (lo + hi) / 2


def inverse_rows():
    ni = [(call("upperNi", p), -mp.sqrt(2) * mp.erfinv(2 * mp.mpf(p) - 1) if p > 1e-10 else
           bisect(normal_tail, p, mp.mpf(0), mp.mpf(40))) for p in PS]
    xi = []
    for n in [1, 2, 3, 5, 10, 30, 100, 1000]:
        for p in PS:
            xi.append((call("upperXi", n, p),
                       bisect(lambda x: chi_tail(n, x), p, mp.mpf(10) ** -320, mp.mpf(5000), log=True)))
    ti = []
    for n in [1, 2, 3, 5, 10, 30, 100]:
        for p in PS:
            if n == 1 and p < 1e-250:
                continue  # the quantile passes the double range
            if p < 0.5:
                v = bisect(lambda t: t_tail(n, t), p, mp.mpf(10) ** -30, mp.mpf(10) ** 300, log=True)
            elif p > 0.5:
                v = -bisect(lambda t: t_tail(n, t), 1 - mp.mpf(p), mp.mpf(10) ** -30, mp.mpf(10) ** 300, log=True)
            else:
                v = mp.mpf(0)
            ti.append((call("upperTi", n, p), v))
    fi = []
    for n1, n2 in [(1, 1), (2, 5), (3, 7), (5, 2), (10, 10), (10, 100), (30, 40), (100, 3)]:
        for p in PS:
            if n2 <= 2 and p < 1e-250:
                continue
            v = bisect(lambda f: f_tail(n1, n2, f), p, mp.mpf(10) ** -320, mp.mpf(10) ** 300, log=True)
            fi.append((call("upperFi", n1, n2, p), v))
    return ni, xi, ti, fi


def binomial_tail(n, p, x):
    return mp.fsum(mp.binomial(n, k) * p ** k * (1 - p) ** (n - k) for k in range(max(x, 0), n + 1))


def poisson_tail(lam, x):
    if x <= 0:
        return mp.mpf(1)
    return mp.gammainc(x, 0, lam, regularized=True)


def hyper_tail(N, M, n, x):
    return mp.fsum(mp.binomial(M, k) * mp.binomial(N - M, n - k) for k in range(max(x, 0), min(n, M) + 1)) \
        / mp.binomial(N, n)


def discrete_rows():
    b = []
    for n, p in [(1, 0.5), (10, 0.1), (10, 0.5), (20, 0.3), (50, 0.9), (100, 0.01), (100, 0.5), (1000, 0.25),
                 (1000, 0.001)]:
        for frac in [0, 0.05, 0.2, 0.4, 0.5, 0.6, 0.8, 0.95, 1]:
            x = int(round(frac * n))
            v = binomial_tail(n, exact(p), x)
            if v > mp.mpf("1e-300"):
                b.append((call("upperB", n, p, x), v))
    pp = []
    for lam in [0.1, 1, 2.5, 10, 50, 200, 1000]:
        for x in sorted({0, 1, 2, int(lam), int(lam) + 1, int(2 * lam) + 3, int(5 * lam) + 10, int(10 * lam) + 50}):
            v = poisson_tail(exact(lam), x)
            if v > mp.mpf("1e-300"):
                pp.append((call("upperP", lam, x), v))
    h = []
    for N, M, n in [(10, 4, 3), (50, 10, 20), (100, 50, 50), (1000, 100, 200), (2000, 1000, 1000), (500, 3, 400)]:
        lo, hi = max(0, n - (N - M)), min(n, M)
        for x in sorted({lo, lo + 1, (lo + hi) // 2, (lo + hi) // 2 + 1, hi - 1, hi, (3 * hi + lo) // 4}):
            v = hyper_tail(N, M, n, x)
            if v > mp.mpf("1e-300"):
                h.append((call("upperH", N, M, n, x), v))
    return b, pp, h


def numeric_rows():
    e = mp.e
    solve = [
        ('solve_nw("x^2-2","x",1)', mp.sqrt(2)),
        ('solve_nw("exp(x)-3","x",0)', mp.log(3)),
        ('solve_nw("x^3-2*x-5","x",2)', mp.findroot(lambda x: x ** 3 - 2 * x - 5, 2)),
        ('solve_nw("cos(x)-x","x",1)', mp.findroot(lambda x: mp.cos(x) - x, 1)),
        ('solve_nw("ln(t)-1","t",2)', e),
        ('solve_nw("1e6*(y-1.5e-3)","y",1)', mp.mpf("1.5e-3")),
        ('solve_nw("x^5-1e10","x",50)', mp.mpf(100)),
        ('solve_bi("x^2-2","x",0,2)', mp.sqrt(2)),
        ('solve_bi("exp(x)-3","x",-1,4)', mp.log(3)),
        ('solve_bi("x^3-2*x-5","x",0,3)', mp.findroot(lambda x: x ** 3 - 2 * x - 5, 2)),
        ('solve_bi("cos(x)-x","x",0,1)', mp.findroot(lambda x: mp.cos(x) - x, 1)),
        ('solve_bi("x-1e-7","x",0,1)', mp.mpf("1e-7")),
        ('solve_bi("1-x^2/1e6","x",1,5000)', mp.mpf(1000)),
        ('integ("exp(x)","x",0,1,1000)', e - 1),
        ('integ("1/(1+x^2)","x",0,1,1000)', mp.pi / 4),
        ('integ("x^4-3*x","x",-1,2,100)', mp.mpf(33) / 5 - mp.mpf(9) / 2),
        ('integ("sqrt(1+u)","u",0,3,1000)', mp.mpf(14) / 3),
        ('integ("exp(-x^2)","x",-3,3,2000)', mp.sqrt(mp.pi) * mp.erf(3)),
        ('integ("ln(x)","x",1,10,2000)', 10 * mp.log(10) - 9),
        ('integ("1/x","x",1,10,5000)', mp.log(10)),
        ('integ("x^2","x",0,1e6,100)', mp.mpf(10) ** 18 / 3),
        ('integ("exp(x)","x",1,0,1000)', 1 - e),
    ]
    stats = [
        ("var([1,2,3,4])", mp.mpf(5) / 3),
        ("var([2,4,4,4,5,5,7,9])", mp.mpf(32) / 7),
        ("std([2,4,4,4,5,5,7,9])", mp.sqrt(mp.mpf(32) / 7)),
        ("std([1.5,2.5])", mp.sqrt(mp.mpf(1) / 2)),
        ("Fract(2.75)", mp.mpf("0.75")),
        ("Fract(-2.25)", mp.mpf("-0.25")),
        ("Fract(7)", mp.mpf(0)),
    ]
    return solve, stats


def main():
    os.makedirs(OUT, exist_ok=True)
    only = set(sys.argv[1:])  # names of the files to write; all without
    global write
    if only:
        plain = write
        write = lambda name, rows: plain(name, rows) if name in only else None
    write("gamma", gamma_rows())
    write("Jn", bessel_rows("Jn", mp.besselj, [0, 1, 2, 3, 5, 10, 20, 50], BESSEL_X + LARGE_X))
    write("Jn_zeros", bessel_zero_rows("Jn", mp.besselj, [0, 1, 2, 3, 5, 10, 20, 50], "J"))
    write("Yn", bessel_rows("Yn", mp.bessely, [0, 1, 2, 3, 5, 10, 20], BESSEL_X + LARGE_X))
    write("Yn_zeros", bessel_zero_rows("Yn", mp.bessely, [0, 1, 2, 3, 5, 10, 20], "Y"))
    write("In", bessel_rows("In", mp.besseli, [0, 1, 2, 5, 10, 20, 50], BESSEL_X + [300, 500, 700]))
    write("Kn", bessel_rows("Kn", mp.besselk, [0, 1, 2, 5, 10, 20, 50], BESSEL_X + [300, 500, 700]))
    normal, chi, tt, ff = tail_rows()
    write("normal", normal)
    write("upperX", chi)
    write("upperT", tt)
    write("upperF", ff)
    ni, xi, ti, fi = inverse_rows()
    write("upperNi", ni)
    write("upperXi", xi)
    write("upperTi", ti)
    write("upperFi", fi)
    b, pp, h = discrete_rows()
    write("upperB", b)
    write("upperP", pp)
    write("upperH", h)
    solve, stats = numeric_rows()
    for name in ["solve_nw", "solve_bi", "integ", "var", "std", "Fract"]:
        write(name, [row for row in solve + stats if row[0].startswith(name + "(")])


if __name__ == "__main__":
    main()
