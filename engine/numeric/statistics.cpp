#include "numeric/statistics.h"

#include <cmath>
#include <string_view>

namespace ostrac::numeric {

namespace {

constexpr std::string_view invalid_dimensions = "Invalid dimensions\n";
constexpr std::string_view complex_abs_unsupported = "Abs for Complex vectors not supported!\n";

int length(const Matrix& v) { return v.rows() >= 1 ? v.cols() : 0; }

// Real and imaginary parts are accumulated separately, from j = 1 upward.
template <typename Term>
Complex accumulate(int n, Term term) {
    Complex sum{0.0, 0.0};
    for (int j = 1; j <= n; ++j) {
        const Complex t = term(j);
        sum.re += t.re;
        sum.im += t.im;
    }
    return sum;
}

Complex divide_parts(Complex z, double d) { return {z.re / d, z.im / d}; }

// Principal square root of (n S2 - S1^2) / divisor, parts divided separately.
Complex deviation(const Matrix& v, double divisor) {
    const double n = length(v);
    const Complex s2 = sumx2(v);
    const Complex s1 = sumx(v);
    const Complex p = complex_mul(s1, s1);
    const Complex variance{(n * s2.re - p.re) / divisor, (n * s2.im - p.im) / divisor};
    return complex_sqrt(variance);
}

Complex sum_of_products(const Matrix& x, const Matrix& y) {
    return accumulate(length(y), [&](int j) { return complex_mul(x.at(1, j), y.at(1, j)); });
}

Complex covariance(const Matrix& x, const Matrix& y) {
    const Complex mean_of_products = divide_parts(sum_of_products(x, y), length(y));
    return complex_sub(mean_of_products, complex_mul(mean(y), mean(x)));
}

}  // namespace

Complex sumx(const Matrix& v) {
    return accumulate(length(v), [&](int j) { return v.at(1, j); });
}

Complex sumx2(const Matrix& v) {
    return accumulate(length(v), [&](int j) { return complex_mul(v.at(1, j), v.at(1, j)); });
}

Complex mean(const Matrix& v) { return divide_parts(sumx(v), length(v)); }

Complex sdxn(const Matrix& v) {
    const double n = length(v);
    return deviation(v, n * n);
}

Complex sdx(const Matrix& v) {
    const double n = length(v);
    return deviation(v, n * (n - 1.0));
}

NumericResult<Complex> sumxy(const Matrix& x, const Matrix& y) {
    if (length(x) != length(y)) return NumericResult<Complex>::failure(invalid_dimensions);
    return NumericResult<Complex>::success(sum_of_products(x, y));
}

NumericResult<Complex> cov(const Matrix& x, const Matrix& y) {
    if (length(x) != length(y)) return NumericResult<Complex>::failure(invalid_dimensions);
    return NumericResult<Complex>::success(covariance(x, y));
}

NumericResult<Complex> corr(const Matrix& x, const Matrix& y) {
    if (length(x) != length(y)) return NumericResult<Complex>::failure(invalid_dimensions);
    const Complex spread = complex_mul(sdxn(y), sdxn(x));
    return NumericResult<Complex>::success(complex_div(covariance(x, y), spread));
}

NumericResult<double> vector_abs(const Matrix& v) {
    const Complex s2 = sumx2(v);
    if (s2.im != 0.0) return NumericResult<double>::failure(complex_abs_unsupported);
    return NumericResult<double>::success(std::sqrt(s2.re));
}

}  // namespace ostrac::numeric
