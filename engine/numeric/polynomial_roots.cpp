#include "numeric/polynomial_roots.h"

#include <cmath>
#include <cstddef>
#include <string_view>
#include <utility>

namespace ostrac::numeric {

namespace {

constexpr int max_degree = 36;
constexpr int max_iterations = 500;
constexpr double step_tolerance = 1e-6;
constexpr int starts_before_giving_up = 5;
// A converged point this close to the real axis starts its polishing on the axis.
constexpr double snap_to_real_ratio = 0.0001;
// A polished root this close to the real axis is taken as a real root.
constexpr double real_root_ratio = 0.00001;

constexpr int max_elements = 20;
constexpr std::string_view too_many_elements = "Error in Zerpol: max degree 20!\n";
constexpr std::string_view too_few_elements = "Error in Zerpol: min degree 2\n";
constexpr std::string_view root_finder_failed = "Error in Zerpol!\n";

struct Evaluation {
    Complex value;
    Complex derivative;
};

// Value and derivative at z of the polynomial whose descending coefficients are d, so
// that a(j) = d[m - j] is the coefficient of z^j. The powers of z are formed by
// repeated multiplication, not by Horner's scheme: the rounding of the results
// depends on it.
Evaluation evaluate(std::span<const double> d, Complex z) {
    const int m = static_cast<int>(d.size()) - 1;
    Complex value{d[static_cast<std::size_t>(m)], 0.0};
    Complex derivative{0.0, 0.0};
    Complex power{1.0, 0.0};
    for (int j = 1; j <= m; ++j) {
        const double a = d[static_cast<std::size_t>(m - j)];
        derivative.re += j * a * power.re;
        derivative.im += j * a * power.im;
        power = complex_mul(power, z);
        value.re += a * power.re;
        value.im += a * power.im;
    }
    return {value, derivative};
}

enum class NewtonOutcome { Converged, ZeroDerivative, Exhausted };

struct NewtonResult {
    NewtonOutcome outcome;
    Complex z;
};

NewtonResult newton(std::span<const double> d, Complex z) {
    for (int i = 0; i < max_iterations; ++i) {
        const Evaluation e = evaluate(d, z);
        const double modulus2 = e.derivative.re * e.derivative.re + e.derivative.im * e.derivative.im;
        if (modulus2 == 0.0) return {NewtonOutcome::ZeroDerivative, z};
        // -V / D as -V times the conjugate of D over |D|^2.
        const Complex numerator =
            complex_mul({-e.value.re, -e.value.im}, {e.derivative.re, -e.derivative.im});
        const Complex step{numerator.re / modulus2, numerator.im / modulus2};
        z = complex_add(z, step);
        if (std::fabs(step.re) + std::fabs(step.im) < step_tolerance) {
            return {NewtonOutcome::Converged, z};
        }
    }
    return {NewtonOutcome::Exhausted, z};
}

// |im / re| < limit. A zero real part makes the ratio infinite, so a point on the
// imaginary axis is complex; the origin itself counts as real, as the zero root does.
bool near_real_axis(Complex z, double limit) {
    if (z.re == 0.0) return z.im == 0.0;
    return std::fabs(z.im / z.re) < limit;
}

// Divides the descending coefficients d in place by x^2 - s x + q (q = 0: by x - s),
// leaving the quotient in d[0..new_degree].
void deflate(std::vector<double>& d, double s, double q, int new_degree) {
    d[1] = d[1] + s * d[0];
    for (int j = 2; j <= new_degree; ++j) {
        const auto k = static_cast<std::size_t>(j);
        d[k] = d[k] + s * d[k - 1] - q * d[k - 2];
    }
}

std::span<const double> leading(const std::vector<double>& d, int degree) {
    return std::span<const double>(d).first(static_cast<std::size_t>(degree) + 1);
}

}  // namespace

ZerpolOutcome Zerpol(std::span<const double> coefficients, const StopCheck& stop) {
    const int n = static_cast<int>(coefficients.size()) - 1;
    if (n < 1) return {ZerpolStatus::DegreeTooLow, {}};
    if (n > max_degree) return {ZerpolStatus::DegreeTooHigh, {}};
    if (coefficients[0] == 0.0) return {ZerpolStatus::ZeroLeadingCoefficient, {}};

    // O polishes every root and loses only the factors of x; P is deflated.
    const std::vector<double> o(coefficients.begin(), coefficients.end());
    int o_degree = n;
    std::vector<double> p = o;
    int m = n;

    ZerpolOutcome outcome;
    outcome.roots.reserve(static_cast<std::size_t>(n));

    while (m >= 1) {
        if (p[static_cast<std::size_t>(m)] == 0.0) {
            // A zero root is taken as it is, without search or polishing; dividing P by
            // x only drops its constant term.
            --o_degree;
            --m;
            outcome.roots.push_back({0.0, 0.0});
            deflate(p, 0.0, 0.0, m);
            continue;
        }

        // Each start lies ten times farther out than the one before. From degree 2 on,
        // zero derivatives cannot repeat for ever: the derivative grows with the start,
        // and once the starts overflow every step is NaN and the search runs out of
        // iterations. A line's derivative does not depend on the start (below).
        double a = 0.00500101;
        double b = 0.01000101;
        int starts = 0;
        Complex z;
        for (;;) {
            if (stop_requested(stop)) {
                outcome.status = ZerpolStatus::Stopped;
                return outcome;
            }
            const double next_a = -10.0 * b;
            const double next_b = -10.0 * a;
            a = next_a;
            b = next_b;
            ++starts;
            const NewtonResult search = newton(leading(p, m), {a, b});
            if (search.outcome == NewtonOutcome::Converged) {
                z = search.z;
                break;
            }
            // A line's derivative is its leading coefficient, the same at every start:
            // when its square underflows, no start can move, and the root is taken
            // directly. A root beyond the doubles is no root found.
            if (search.outcome == NewtonOutcome::ZeroDerivative && m == 1) {
                z = {-p[1] / p[0], 0.0};
                if (!std::isfinite(z.re)) {
                    outcome.status = ZerpolStatus::NoConvergence;
                    return outcome;
                }
                break;
            }
            // A zero derivative always moves on to the next start; running out of
            // iterations does so only within the first five starts.
            if (search.outcome == NewtonOutcome::Exhausted && starts >= starts_before_giving_up) {
                outcome.status = ZerpolStatus::NoConvergence;
                return outcome;
            }
        }

        if (near_real_axis(z, snap_to_real_ratio)) z.im = 0.0;

        const NewtonResult polished = newton(leading(o, o_degree), z);
        if (polished.outcome != NewtonOutcome::ZeroDerivative) z = polished.z;

        if (near_real_axis(z, real_root_ratio)) {
            m -= 1;
            outcome.roots.push_back({z.re, 0.0});
            deflate(p, z.re, 0.0, m);
        } else {
            const double s = 2.0 * z.re;
            const double q = z.re * z.re + z.im * z.im;
            m -= 2;
            outcome.roots.push_back({z.re, z.im});
            outcome.roots.push_back({z.re, -z.im});
            deflate(p, s, q, m);
        }
    }
    return outcome;
}

NumericResult<Matrix> polynomial_roots(const Matrix& v, const StopCheck& stop) {
    const int count = v.rows() >= 1 ? v.cols() : 0;
    if (count > max_elements) return NumericResult<Matrix>::failure(too_many_elements);
    if (count == 1) return NumericResult<Matrix>::failure(too_few_elements);

    std::vector<double> coefficients;
    coefficients.reserve(static_cast<std::size_t>(count));
    for (int j = 1; j <= count; ++j) coefficients.push_back(v.at(1, j).re);

    const ZerpolOutcome outcome = Zerpol(coefficients, stop);
    if (outcome.status != ZerpolStatus::Ok) return NumericResult<Matrix>::failure(root_finder_failed);

    // A conjugate pair found when one root was left would make one root too many; the
    // matrix keeps the degree's count, in the order found.
    const int degree = count - 1;
    Matrix roots(1, degree);
    for (int j = 1; j <= degree; ++j) roots.at(1, j) = outcome.roots[static_cast<std::size_t>(j - 1)];
    return NumericResult<Matrix>::success(std::move(roots));
}

}  // namespace ostrac::numeric
