// The inverse and the determinant: Gauss-Jordan elimination for small
// matrices, the blocked LU decomposition for large ones; doubles for real
// matrices, complex arithmetic for the others.
#include <cstddef>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "numeric/element_ops.h"
#include "numeric/gauss_jordan.h"
#include "numeric/lu_decomposition.h"
#include "numeric/matrix.h"
#include "numeric/real_parts.h"

namespace ostrac::numeric {
namespace {

// Up to this order the elimination the calculator has always used stays: it
// takes under a millisecond, and where no rows are exchanged its results keep
// their bits. (The blocked decomposition would be faster even here.)
constexpr int largest_small_order = 64;

using Outcome = EliminationOutcome;

// w, destroyed, to its inverse in x (zero-filled).
template <class T>
Outcome invert(T* w, T* x, int n, const StopCheck& stop) {
    if (n <= largest_small_order) {
        for (int i = 0; i < n; ++i) x[static_cast<std::ptrdiff_t>(i) * n + i] = one<T>();
        int exchanges = 0;
        return gauss_jordan(w, x, n, exchanges, stop);
    }
    std::vector<int> pivots;
    const Outcome factored = lu_factor(w, n, pivots, stop);
    return factored == Outcome::Done ? lu_inverse(w, n, pivots, x, stop) : factored;
}

// The determinant of w, destroyed, into d.
template <class T>
Outcome determinant(T* w, int n, T& d, const StopCheck& stop) {
    int exchanges = 0;
    Outcome outcome = Outcome::Done;
    if (n <= largest_small_order) {
        outcome = gauss_jordan<T>(w, nullptr, n, exchanges, stop);
    } else {
        std::vector<int> pivots;
        outcome = lu_factor(w, n, pivots, stop);
        exchanges = exchange_count(pivots);
    }
    if (outcome == Outcome::Done) d = diagonal_product(w, n, exchanges);
    return outcome;
}

// The elimination is defined for square matrices only; an empty matrix has no (1, 1)
// element to start from, so it is rejected the same way.
bool is_proper_square(const Matrix& a) { return a.rows() >= 1 && a.rows() == a.cols(); }

// The real parts of the inverse of a real matrix from its work copy w, which
// is freed on return, before the caller makes the result.
std::optional<std::vector<double>> real_inverse(std::unique_ptr<double[]> w, int n, const StopCheck& stop) {
    std::vector<double> x(static_cast<std::size_t>(n) * static_cast<std::size_t>(n));
    if (invert(w.get(), x.data(), n, stop) != Outcome::Done) return std::nullopt;
    return x;
}

}  // namespace

InverseResult matrix_inverse(const Matrix& a, const StopCheck& stop) {
    if (!is_proper_square(a)) return {std::nullopt, EliminationError::NotSquare};
    if (auto w = real_parts_if_real(a)) {
        const auto x = real_inverse(std::move(w), a.rows(), stop);
        if (!x) return {std::nullopt, EliminationError::NoInverse};
        return {from_real_parts(*x, a.rows(), a.cols()), EliminationError::NoInverse};
    }
    Matrix work = a;
    Matrix inverse(a.rows(), a.cols());
    if (invert(work.data(), inverse.data(), a.rows(), stop) != Outcome::Done) {
        return {std::nullopt, EliminationError::NoInverse};
    }
    return {std::move(inverse), EliminationError::NoInverse};
}

DeterminantResult matrix_det(const Matrix& a, const StopCheck& stop) {
    if (!is_proper_square(a)) return {std::nullopt, EliminationError::NotSquare};
    const int n = a.rows();
    if (auto w = real_parts_if_real(a)) {
        double d = 0.0;
        if (determinant(w.get(), n, d, stop) != Outcome::Done) return {std::nullopt, EliminationError::NoInverse};
        return {Complex{d, 0.0}, EliminationError::NoInverse};
    }
    Matrix work = a;
    Complex d;
    if (determinant(work.data(), n, d, stop) != Outcome::Done) return {std::nullopt, EliminationError::NoInverse};
    return {d, EliminationError::NoInverse};
}

}  // namespace ostrac::numeric
