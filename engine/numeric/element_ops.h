// Arithmetic on the two element types of the dense matrix algorithms: double
// for matrices whose imaginary parts are all 0, Complex for the others. The
// Complex forms are the calculator's own (scaled division, products in a
// fixed order), so a real matrix computed as doubles gives the bits its
// complex form would, apart from the signs of zeros and the not-a-numbers
// that inf * 0 in a cross term would add.
#pragma once

#include <cmath>

#include "numeric/complex.h"

namespace ostrac::numeric {

inline double modulus(double x) { return std::fabs(x); }
inline double modulus(Complex z) { return complex_abs(z); }

inline bool is_zero(double x) { return x == 0.0; }
inline bool is_zero(Complex z) { return z.re == 0.0 && z.im == 0.0; }

inline double negated(double x) { return -x; }
inline Complex negated(Complex z) { return {-z.re, -z.im}; }

inline double quotient(double a, double b) { return a / b; }
inline Complex quotient(Complex a, Complex b) { return complex_div(a, b); }

inline double product(double a, double b) { return a * b; }
inline Complex product(Complex a, Complex b) { return complex_mul(a, b); }

// acc = acc + a * b, the product rounded before the sum.
inline void add_product(double& acc, double a, double b) { acc = acc + a * b; }
// The product in complex_mul's operation order (without its test for reals:
// the complex algorithms meet complex elements).
inline void add_product(Complex& acc, Complex a, Complex b) {
    const double pr = a.re * b.re;
    const double sq = b.im * a.im;
    const double ps = a.re * b.im;
    const double rq = b.re * a.im;
    const double re = pr - sq;
    const double im = ps + rq;
    acc.re = acc.re + re;
    acc.im = acc.im + im;
}

template <class T>
constexpr T one() {
    return T{1.0};
}

}  // namespace ostrac::numeric
