// Complex numbers: every number the calculator computes with is one of these.
// Pure value type; the algorithms reproduce the calculator's own results to the
// last bit (scaled division, polar power and square root), not the textbook ones.
#pragma once

namespace ostrac::numeric {

struct Complex {
    double re = 0.0;
    double im = 0.0;

    friend bool operator==(const Complex&, const Complex&) = default;
};

inline Complex complex_add(Complex a, Complex b) { return {a.re + b.re, a.im + b.im}; }
inline Complex complex_sub(Complex a, Complex b) { return {a.re - b.re, a.im - b.im}; }

// Two factors with zero imaginary parts multiply as reals.
Complex complex_mul(Complex a, Complex b);
// Scaled division; a divisor 0+0i divides zero by zero (NaN parts), which the
// division operator reports.
Complex complex_div(Complex a, Complex b);
Complex complex_pow(Complex z, double p);
Complex complex_sqrt(Complex z);
// The modulus over the whole double range: the direct root of the sum of
// squares wherever that sum neither overflows nor underflows, scaled beyond.
double complex_abs(Complex z);

struct Polar {
    double modulus;
    double argument;  // radians, -pi..pi
};
Polar to_polar(Complex z);

}  // namespace ostrac::numeric
