#include "numeric/complex.h"

#include <cmath>

namespace ostrac::numeric {

Complex complex_mul(Complex a, Complex b) {
    // Two reals multiply as reals: an overflow is an infinity, where the
    // cross terms of the complex product would add inf * 0, a not-a-number.
    if (a.im == 0.0 && b.im == 0.0) return {a.re * b.re, 0.0};
    const double pr = a.re * b.re;
    const double sq = b.im * a.im;
    const double ps = a.re * b.im;
    const double rq = b.re * a.im;
    return {pr - sq, ps + rq};
}

// Scaled division: the divisor's squared modulus is never formed, so it cannot overflow.
// The branch tests and the operand order of every step are part of the observable result.
Complex complex_div(Complex a, Complex b) {
    const double p = a.re, q = a.im, r = b.re, s = b.im;
    if (std::fabs(r) <= std::fabs(s)) {  // ties and the 0+0i divisor come here
        const double t = r / s;
        const double rt = r * t;
        const double den = s + rt;
        const double tp = t * p;
        const double qt = q * t;
        return {(q + tp) / den, (qt - p) / den};
    }
    if (s != 0.0) {
        const double t = s / r;
        const double st = s * t;
        const double den = r + st;
        const double qt = q * t;
        const double pt = p * t;
        return {(p + qt) / den, (q - pt) / den};
    }
    return {p / r, q / r};
}

// The root of re^2 + im^2 as it stands wherever that sum is a normal double,
// so ordinary moduli keep their bits. A sum that overflowed, or underflowed
// into the subnormal range or to zero while a part is not zero, lost the
// result: hypot, which scales the parts instead of squaring them, takes over
// there.
double complex_abs(Complex z) {
    const double re2 = z.re * z.re;
    const double im2 = z.im * z.im;
    const double sum = re2 + im2;
    if (std::isnormal(sum) || std::isnan(sum) || (z.re == 0.0 && z.im == 0.0)) return std::sqrt(sum);
    return std::hypot(z.re, z.im);
}

Polar to_polar(Complex z) { return {complex_abs(z), std::atan2(z.im, z.re)}; }

Complex complex_pow(Complex z, double p) {
    const double m = complex_abs(z);
    const double t = std::atan2(z.im, z.re);
    const double mp = std::pow(m, p);
    const double pt = p * t;
    Complex w{std::cos(pt) * mp, std::sin(pt) * mp};
    // A purely imaginary base raised to a whole power is real (even power) or purely
    // imaginary (odd power); drop the rounding residue of the other part. A negative
    // real base is deliberately not cleaned.
    if (std::floor(p) - p == 0.0 && z.re == 0.0) {
        if (std::fmod(p, 2.0) == 0.0) {
            w.im = 0.0;
        } else {
            w.re = 0.0;
        }
    }
    return w;
}

Complex complex_sqrt(Complex z) {
    const double m = complex_abs(z);
    const double half = std::atan2(z.im, z.re) / 2.0;
    const double s = std::sqrt(m);
    return {std::cos(half) * s, std::sin(half) * s};
}

}  // namespace ostrac::numeric
