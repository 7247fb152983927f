// Checks the polynomial root finder on random real polynomials against a second,
// unrelated root finder kept here: simultaneous Aberth-Ehrlich iteration in long double
// complex arithmetic. The polynomials are built from chosen, well separated roots, so
// the reference itself is checked against the roots the polynomial was made from.
#include "numeric/polynomial_roots.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <iostream>
#include <numbers>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace ostrac::numeric {
namespace {

using LongComplex = std::complex<long double>;

constexpr int polynomial_count = 200;
constexpr int lowest_degree = 1;  // two coefficients: the smallest vector zerpol accepts
constexpr int highest_degree = 19;  // twenty coefficients: the largest
constexpr double smallest_root = 0.2;
constexpr double largest_root = 3.0;
// No two roots, a root and its own conjugate included, lie closer than this.
constexpr double root_separation = 0.3;
constexpr double root_tolerance = 1e-6;  // relative to max(1, |root|)

// Uniform doubles from the 64-bit Mersenne Twister, whose output sequence is fixed by
// the language standard (unlike the library's distributions), so the polynomials are
// the same on every platform.
class Random {
public:
    explicit Random(std::uint64_t seed) : engine_(seed) {}
    double uniform(double low, double high) {
        const double unit = static_cast<double>(engine_() >> 11) * 0x1p-53;
        return low + (high - low) * unit;
    }
    int below(int n) { return static_cast<int>(engine_() % static_cast<std::uint64_t>(n)); }

private:
    std::mt19937_64 engine_;
};

struct TestPolynomial {
    std::vector<double> coefficients;  // highest power first
    std::vector<LongComplex> roots;    // the chosen roots, each pair's two members
};

bool far_from_all(const std::vector<LongComplex>& roots, LongComplex candidate) {
    for (const LongComplex& r : roots) {
        if (std::abs(r - candidate) < root_separation) return false;
    }
    return true;
}

// A polynomial of the given degree with real roots and conjugate pairs of modulus
// between 0.2 and 3, expanded in long double and rounded once to double.
TestPolynomial make_polynomial(Random& random, int degree) {
    const int fewest_real = degree % 2;
    for (;;) {
        // Any number of real roots that leaves an even number for the pairs.
        const int real_count = fewest_real + 2 * random.below((degree - fewest_real) / 2 + 1);
        const int pair_count = (degree - real_count) / 2;
        std::vector<LongComplex> roots;
        bool placed = true;
        for (int k = 0; k < real_count && placed; ++k) {
            placed = false;
            for (int attempt = 0; attempt < 1000 && !placed; ++attempt) {
                const double sign = random.below(2) == 0 ? -1.0 : 1.0;
                const LongComplex candidate(sign * random.uniform(smallest_root, largest_root), 0.0L);
                if (far_from_all(roots, candidate)) {
                    roots.push_back(candidate);
                    placed = true;
                }
            }
        }
        for (int k = 0; k < pair_count && placed; ++k) {
            placed = false;
            for (int attempt = 0; attempt < 1000 && !placed; ++attempt) {
                const long double modulus = random.uniform(smallest_root, largest_root);
                const long double angle = random.uniform(0.0, std::numbers::pi);
                const LongComplex candidate = std::polar(modulus, angle);
                if (2 * candidate.imag() >= root_separation && far_from_all(roots, candidate) &&
                    far_from_all(roots, std::conj(candidate))) {
                    roots.push_back(candidate);
                    roots.push_back(std::conj(candidate));
                    placed = true;
                }
            }
        }
        if (!placed) continue;  // packed too tightly: start this polynomial afresh

        const double magnitude = random.uniform(0.5, 4.0);
        std::vector<long double> product{random.below(2) == 0 ? -magnitude : magnitude};
        for (std::size_t i = 0; i < roots.size(); ++i) {
            // Multiply by (x - r) for a real root, by x^2 - 2 Re(r) x + |r|^2 for a pair.
            std::vector<long double> factor;
            if (roots[i].imag() == 0) {
                factor = {1.0L, -roots[i].real()};
            } else {
                factor = {1.0L, -2 * roots[i].real(), std::norm(roots[i])};
                ++i;
            }
            std::vector<long double> next(product.size() + factor.size() - 1, 0.0L);
            for (std::size_t a = 0; a < product.size(); ++a) {
                for (std::size_t b = 0; b < factor.size(); ++b) next[a + b] += product[a] * factor[b];
            }
            product = std::move(next);
        }
        TestPolynomial result;
        for (long double c : product) result.coefficients.push_back(static_cast<double>(c));
        result.roots = std::move(roots);
        return result;
    }
}

struct ReferenceRoots {
    std::vector<LongComplex> roots;
    bool converged = false;
};

// All roots at once by the Aberth-Ehrlich iteration on the double coefficients (highest
// power first), evaluated by Horner's scheme in long double.
ReferenceRoots reference_roots(const std::vector<double>& coefficients) {
    const std::size_t n = coefficients.size() - 1;
    std::vector<long double> c(coefficients.begin(), coefficients.end());
    const auto evaluate = [&c](LongComplex z, LongComplex& derivative) {
        LongComplex value = c[0];
        derivative = 0;
        for (std::size_t k = 1; k < c.size(); ++k) {
            derivative = derivative * z + value;
            value = value * z + c[k];
        }
        return value;
    };

    // Starts on a circle whose radius is the geometric mean of the roots' moduli, turned
    // off the real axis so that no start is its neighbour's mirror image.
    const long double radius = std::pow(std::fabs(c[n] / c[0]), 1.0L / static_cast<long double>(n));
    ReferenceRoots result;
    for (std::size_t k = 0; k < n; ++k) {
        const long double angle = 2 * std::numbers::pi_v<long double> * static_cast<long double>(k) /
                                      static_cast<long double>(n) +
                                  0.4L;
        result.roots.push_back(std::polar(radius, angle));
    }
    int quiet_rounds = 0;
    for (int iteration = 0; iteration < 1000 && quiet_rounds < 3; ++iteration) {
        long double largest_correction = 0;
        for (std::size_t i = 0; i < n; ++i) {
            LongComplex& z = result.roots[i];
            LongComplex derivative;
            const LongComplex value = evaluate(z, derivative);
            if (value == LongComplex(0)) continue;
            const LongComplex newton = value / derivative;
            LongComplex repulsion = 0;
            for (std::size_t j = 0; j < n; ++j) {
                if (j != i) repulsion += 1.0L / (z - result.roots[j]);
            }
            const LongComplex correction = newton / (1.0L - newton * repulsion);
            z -= correction;
            largest_correction =
                std::max(largest_correction, std::abs(correction) / std::max(1.0L, std::abs(z)));
        }
        // A few more rounds after the corrections fall to rounding level.
        if (largest_correction < 1e-12L) ++quiet_rounds;
    }
    result.converged = quiet_rounds > 0;
    return result;
}

long double relative_distance(LongComplex found, LongComplex root) {
    return std::abs(found - root) / std::max(1.0L, std::abs(root));
}

// For each of the roots found, the index of the nearest root of the other list.
std::vector<std::size_t> nearest(const std::vector<LongComplex>& found, const std::vector<LongComplex>& roots) {
    std::vector<std::size_t> index;
    for (const LongComplex& f : found) {
        std::size_t best = 0;
        for (std::size_t j = 1; j < roots.size(); ++j) {
            if (std::abs(f - roots[j]) < std::abs(f - roots[best])) best = j;
        }
        index.push_back(best);
    }
    return index;
}

TEST(ZerpolRandom, RootsAgreeWithAnIndependentRootFinder) {
    Random random(0x5eed2024'0611ULL);
    int gave_up = 0;
    int real_roots_checked = 0;
    int pairs_checked = 0;
    std::vector<int> gave_up_degrees;
    long double worst_error = 0;
    long double worst_reference_error = 0;

    for (int p = 0; p < polynomial_count; ++p) {
        // Every degree of the accepted range in turn, about ten polynomials each.
        const int degree = lowest_degree + p % (highest_degree - lowest_degree + 1);
        const TestPolynomial polynomial = make_polynomial(random, degree);
        SCOPED_TRACE("polynomial " + std::to_string(p) + ", degree " + std::to_string(degree));
        ASSERT_EQ(polynomial.coefficients.size(), static_cast<std::size_t>(degree) + 1);
        ASSERT_EQ(polynomial.roots.size(), static_cast<std::size_t>(degree));

        // The reference finds every root it was built from, each once.
        const ReferenceRoots reference = reference_roots(polynomial.coefficients);
        ASSERT_TRUE(reference.converged);
        const std::vector<std::size_t> chosen = nearest(reference.roots, polynomial.roots);
        for (std::size_t i = 0; i < reference.roots.size(); ++i) {
            const long double error = relative_distance(reference.roots[i], polynomial.roots[chosen[i]]);
            worst_reference_error = std::max(worst_reference_error, error);
            ASSERT_LT(error, root_tolerance);
            ASSERT_EQ(std::count(chosen.begin(), chosen.end(), chosen[i]), 1);
        }

        const ZerpolOutcome outcome = Zerpol(polynomial.coefficients);
        Matrix row(1, degree + 1);
        for (int j = 1; j <= degree + 1; ++j) {
            row.at(1, j) = {polynomial.coefficients[static_cast<std::size_t>(j - 1)], 0.0};
        }
        const NumericResult<Matrix> matrix = polynomial_roots(row);

        if (outcome.status == ZerpolStatus::NoConvergence) {
            ++gave_up;
            gave_up_degrees.push_back(degree);
            EXPECT_FALSE(matrix.ok());
            EXPECT_EQ(matrix.error(), "Error in Zerpol!\n");
            continue;
        }
        ASSERT_EQ(outcome.status, ZerpolStatus::Ok);
        ASSERT_EQ(outcome.roots.size(), static_cast<std::size_t>(degree));

        // Each root found lies by a different true root, and is real exactly when that
        // root is real.
        std::vector<LongComplex> found;
        for (const Complex& r : outcome.roots) found.emplace_back(r.re, r.im);
        const std::vector<std::size_t> match = nearest(found, reference.roots);
        for (std::size_t i = 0; i < found.size(); ++i) {
            const LongComplex truth = reference.roots[match[i]];
            const long double error = relative_distance(found[i], truth);
            worst_error = std::max(worst_error, error);
            EXPECT_LT(error, root_tolerance) << "root " << i << " found at " << outcome.roots[i].re << " + "
                                             << outcome.roots[i].im << "i, nearest true root "
                                             << static_cast<double>(truth.real()) << " + "
                                             << static_cast<double>(truth.imag()) << "i";
            EXPECT_EQ(std::count(match.begin(), match.end(), match[i]), 1) << "root " << i << " found twice";
            const bool truth_is_real = polynomial.roots[nearest({truth}, polynomial.roots)[0]].imag() == 0;
            EXPECT_EQ(outcome.roots[i].im == 0.0, truth_is_real) << "root " << i;
        }

        // A root off the real axis is followed at once by its exact conjugate.
        for (std::size_t i = 0; i < outcome.roots.size(); ++i) {
            if (outcome.roots[i].im == 0.0) continue;
            ASSERT_LT(i + 1, outcome.roots.size()) << "unpaired complex root " << i;
            EXPECT_EQ(outcome.roots[i + 1].re, outcome.roots[i].re) << "root " << i;
            EXPECT_EQ(outcome.roots[i + 1].im, -outcome.roots[i].im) << "root " << i;
            ++i;
            ++pairs_checked;
        }
        real_roots_checked += static_cast<int>(
            std::count_if(outcome.roots.begin(), outcome.roots.end(), [](const Complex& r) { return r.im == 0.0; }));

        // The built-in's matrix holds the same roots in the same order.
        ASSERT_TRUE(matrix.ok()) << matrix.error();
        ASSERT_EQ(matrix.value().rows(), 1);
        ASSERT_EQ(matrix.value().cols(), degree);
        for (int j = 1; j <= degree; ++j) {
            EXPECT_EQ(matrix.value().at(1, j), outcome.roots[static_cast<std::size_t>(j - 1)]) << "column " << j;
        }
    }

    std::string degrees;
    for (int d : gave_up_degrees) degrees += (degrees.empty() ? "" : ",") + std::to_string(d);
    RecordProperty("polynomials", polynomial_count);
    RecordProperty("no_convergence", gave_up);
    RecordProperty("no_convergence_degrees", degrees);
    std::cout << "[ ZerpolRandom ] degrees " << lowest_degree << " to " << highest_degree << ": "
              << gave_up << " of " << polynomial_count << " polynomials gave \"Error in Zerpol!\""
              << (degrees.empty() ? "" : " (degrees " + degrees + ")")
              << "; largest relative root error " << static_cast<double>(worst_error)
              << " (reference " << static_cast<double>(worst_reference_error) << "); "
              << real_roots_checked << " real roots and " << pairs_checked << " conjugate pairs checked\n";
    // Giving up is allowed now and then, not as a rule.
    EXPECT_LT(gave_up * 10, polynomial_count);
}

}  // namespace
}  // namespace ostrac::numeric
