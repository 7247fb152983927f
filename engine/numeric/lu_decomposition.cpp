#include "numeric/lu_decomposition.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "numeric/blas_blocks.h"
#include "numeric/complex.h"
#include "numeric/element_ops.h"

namespace ostrac::numeric {
namespace {

// The elimination goes through the matrix in panels of this many columns.
// A panel is factored by halving it down to narrow slices of a few columns,
// so that nearly all of its work is in products too.
constexpr int panel_width = 128;
constexpr int slice_width = 16;

template <class T>
class Factorization {
public:
    Factorization(T* a, int n, int* pivots) : a_(a), n_(n), pivots_(pivots) {}

    EliminationOutcome run(const StopCheck& stop) {
        for (int k = 0; k < n_; k += panel_width) {
            if (stop_requested(stop)) return EliminationOutcome::Stopped;
            const int w = std::min(panel_width, n_ - k);
            const int next = k + w;
            if (!factor_panel(k, w)) return EliminationOutcome::Singular;
            if (next == n_) break;
            // The rows of the panel to the right of it become rows of U, and
            // the rest of the matrix loses their share.
            if (!solve_blocks(Triangle::UnitLower, w, n_ - next, at(k, k), n_, at(k, next), n_, stop) ||
                !multiply_blocks(n_ - next, n_ - next, w, at(next, k), n_, at(k, next), n_, at(next, next), n_,
                                 Accumulate::Subtract, stop)) {
                return EliminationOutcome::Stopped;
            }
        }
        return EliminationOutcome::Done;
    }

private:
    T* at(int i, int j) { return a_ + static_cast<std::ptrdiff_t>(i) * n_ + j; }

    // Columns c0 to c0 + w - 1 over the rows from c0 down, all earlier
    // columns done. Rows are exchanged whole, so the columns on either side
    // of the panel follow its exchanges at once.
    bool factor_panel(int c0, int w) {
        if (w <= slice_width) return factor_slice(c0, w);
        const int w1 = w / 2;
        const int c1 = c0 + w1;
        if (!factor_panel(c0, w1)) return false;
        solve_blocks(Triangle::UnitLower, w1, w - w1, at(c0, c0), n_, at(c0, c1), n_, {});
        multiply_blocks(n_ - c1, w - w1, w1, at(c1, c0), n_, at(c0, c1), n_, at(c1, c1), n_, Accumulate::Subtract,
                        {});
        return factor_panel(c1, w - w1);
    }

    // Column by column, each one's multiples of the pivot row taken from the
    // rows below it within the slice.
    bool factor_slice(int c0, int w) {
        const int end = c0 + w;
        for (int c = c0; c < end; ++c) {
            int p = c;
            double largest = modulus(*at(c, c));
            for (int i = c + 1; i < n_; ++i) {
                const double m = modulus(*at(i, c));
                if (m > largest) {
                    largest = m;
                    p = i;
                }
            }
            pivots_[c] = p;
            if (is_zero(*at(p, c))) return false;
            if (p != c) std::swap_ranges(at(p, 0), at(p, n_), at(c, 0));
            const T reciprocal = quotient(one<T>(), *at(c, c));
            const T* row = at(c, 0);
            for (int i = c + 1; i < n_; ++i) {
                T* target = at(i, 0);
                target[c] = product(target[c], reciprocal);
                const T f = negated(target[c]);
                for (int j = c + 1; j < end; ++j) add_product(target[j], f, row[j]);
            }
        }
        return true;
    }

    T* a_;
    int n_;
    int* pivots_;
};

}  // namespace

template <class T>
EliminationOutcome lu_factor(T* a, int n, std::vector<int>& pivots, const StopCheck& stop) {
    pivots.assign(static_cast<std::size_t>(n), 0);
    return Factorization<T>(a, n, pivots.data()).run(stop);
}

// A^-1 = U^-1 L^-1 P. L^-1 is built row block by row block from the top (it
// is lower triangular, so each block needs only the columns left of its own
// end); U^-1 then multiplies it block by block from the bottom; last, the
// exchanges are undone on the columns, in reverse order.
template <class T>
EliminationOutcome lu_inverse(const T* lu, int n, const std::vector<int>& pivots, T* x, const StopCheck& stop) {
    const auto row = [n](auto* m, int i) { return m + static_cast<std::ptrdiff_t>(i) * n; };
    for (int i = 0; i < n; ++i) row(x, i)[i] = one<T>();
    for (int i0 = 0; i0 < n; i0 += panel_width) {
        const int w = std::min(panel_width, n - i0);
        if (i0 > 0 && !multiply_blocks(w, i0, i0, row(lu, i0), n, x, n, row(x, i0), n, Accumulate::Subtract, stop)) {
            return EliminationOutcome::Stopped;
        }
        if (!solve_blocks(Triangle::UnitLower, w, i0 + w, row(lu, i0) + i0, n, row(x, i0), n, stop)) {
            return EliminationOutcome::Stopped;
        }
    }
    for (int i0 = (n - 1) / panel_width * panel_width; i0 >= 0; i0 -= panel_width) {
        const int end = std::min(i0 + panel_width, n);
        if (end < n && !multiply_blocks(end - i0, n, n - end, row(lu, i0) + end, n, row(x, end), n, row(x, i0), n,
                                        Accumulate::Subtract, stop)) {
            return EliminationOutcome::Stopped;
        }
        if (!solve_blocks(Triangle::Upper, end - i0, n, row(lu, i0) + i0, n, row(x, i0), n, stop)) {
            return EliminationOutcome::Stopped;
        }
    }
    for (int i = 0; i < n; ++i) {
        T* r = row(x, i);
        for (int k = n - 1; k >= 0; --k) {
            if (pivots[static_cast<std::size_t>(k)] != k) std::swap(r[k], r[pivots[static_cast<std::size_t>(k)]]);
        }
    }
    return EliminationOutcome::Done;
}

int exchange_count(const std::vector<int>& pivots) {
    int count = 0;
    for (std::size_t k = 0; k < pivots.size(); ++k) count += pivots[k] != static_cast<int>(k) ? 1 : 0;
    return count;
}

template <class T>
T diagonal_product(const T* w, int n, int exchanges) {
    T d = w[0];
    for (int k = 1; k < n; ++k) d = product(w[static_cast<std::ptrdiff_t>(k) * n + k], d);
    return exchanges % 2 == 1 ? negated(d) : d;
}

template EliminationOutcome lu_factor(double*, int, std::vector<int>&, const StopCheck&);
template EliminationOutcome lu_factor(Complex*, int, std::vector<int>&, const StopCheck&);
template EliminationOutcome lu_inverse(const double*, int, const std::vector<int>&, double*, const StopCheck&);
template EliminationOutcome lu_inverse(const Complex*, int, const std::vector<int>&, Complex*, const StopCheck&);
template double diagonal_product(const double*, int, int);
template Complex diagonal_product(const Complex*, int, int);

}  // namespace ostrac::numeric
