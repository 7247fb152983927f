#include "numeric/matrix.h"

#include <utility>

namespace ostrac::numeric {
namespace {

// Storage is row-major, so row i is the cols() elements starting at (i, 1).
Complex* row_of(Matrix& m, int i) { return m.cols() == 0 ? nullptr : &m.at(i, 1); }
const Complex* row_of(const Matrix& m, int i) {
    return m.cols() == 0 ? nullptr : &m.at(i, 1);
}

// acc = acc + a * b, with the product formed in the same operation order as complex_mul;
// the inner loops below use this instead of calling complex_mul for speed.
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

bool is_zero(Complex z) { return z.re == 0.0 && z.im == 0.0; }

Matrix identity(int n) {
    Matrix m(n, n);
    for (int i = 1; i <= n; ++i) m.at(i, i) = {1.0, 0.0};
    return m;
}

// Gauss-Jordan elimination without row exchanges on the square matrix w. Every row
// operation is repeated on the companion when there is one; the determinant needs no
// companion because nothing in w depends on it. A missing pivot (exactly 0, with no later
// row to borrow from) makes it return false. Only an exact zero counts as missing. A
// stop asked for before a pivot makes it return false as well.
bool eliminate(Matrix& w, Matrix* companion, const StopCheck& stop) {
    const int n = w.rows();
    const int m = w.cols();
    for (int r = 1; r <= m; ++r) {
        if (stop_requested(stop)) return false;
        Complex* wr = row_of(w, r);
        Complex* cr = companion ? row_of(*companion, r) : nullptr;
        if (is_zero(wr[r - 1])) {
            if (r == m) return false;
            int j = r + 1;
            while (j <= n && is_zero(w.at(j, r))) ++j;
            if (j > n) return false;
            // Adding (not swapping) the row keeps the determinant unchanged.
            const Complex* wj = row_of(w, j);
            for (int l = 0; l < m; ++l) wr[l] = complex_add(wr[l], wj[l]);
            if (companion) {
                const Complex* cj = row_of(*companion, j);
                for (int l = 0; l < m; ++l) cr[l] = complex_add(cr[l], cj[l]);
            }
        }
        const Complex pivot = wr[r - 1];
        for (int s = 1; s <= n; ++s) {
            if (s == r) continue;
            Complex* ws = row_of(w, s);
            const Complex f = complex_div({-ws[r - 1].re, -ws[r - 1].im}, pivot);
            for (int l = 0; l < m; ++l) add_product(ws[l], f, wr[l]);
            if (companion) {
                Complex* cs = row_of(*companion, s);
                for (int l = 0; l < m; ++l) add_product(cs[l], f, cr[l]);
            }
        }
    }
    if (companion) {
        for (int s = 1; s <= m; ++s) {
            const Complex d = w.at(s, s);
            Complex* cs = row_of(*companion, s);
            for (int l = 0; l < n; ++l) cs[l] = complex_div(cs[l], d);
        }
    }
    return true;
}

// The elimination is defined for square matrices only; an empty matrix has no (1, 1)
// element to start from, so it is rejected the same way.
bool is_proper_square(const Matrix& a) { return a.rows() >= 1 && a.rows() == a.cols(); }

}  // namespace

std::optional<Matrix> matrix_add(const Matrix& a, const Matrix& b, int k) {
    if (a.rows() != b.rows() || a.cols() != b.cols()) return std::nullopt;
    const double kd = k;
    Matrix sum(a.rows(), a.cols());
    for (int i = 1; i <= a.rows(); ++i) {
        for (int j = 1; j <= a.cols(); ++j) {
            const Complex x = a.at(i, j);
            const Complex y = b.at(i, j);
            sum.at(i, j) = {x.re + kd * y.re, x.im + kd * y.im};
        }
    }
    return sum;
}

Matrix matrix_scale(const Matrix& a, Complex s) {
    Matrix scaled(a.rows(), a.cols());
    for (int i = 1; i <= a.rows(); ++i) {
        for (int j = 1; j <= a.cols(); ++j) scaled.at(i, j) = complex_mul(a.at(i, j), s);
    }
    return scaled;
}

std::optional<Matrix> matrix_mul(const Matrix& a, const Matrix& b, const StopCheck& stop) {
    const int ar = a.rows(), ac = a.cols(), br = b.rows(), bc = b.cols();
    Matrix product(ar, bc);
    if (ar == 1 && br == 1 && ac == bc) {
        // Two rows of equal length: element-wise products, then their sum gathered in
        // (1, 1), which is the dot product without conjugation.
        for (int j = 1; j <= bc; ++j) product.at(1, j) = complex_mul(a.at(1, j), b.at(1, j));
        for (int j = 2; j <= bc; ++j) {
            product.at(1, 1) = complex_add(product.at(1, 1), product.at(1, j));
        }
        return product;
    }
    if (ac != br) return std::nullopt;
    // i-k-j order walks every row contiguously while each element still accumulates its
    // terms from k = 1 upward, starting from 0.
    for (int i = 1; i <= ar; ++i) {
        if (stop_requested(stop)) return std::nullopt;
        Complex* out = row_of(product, i);
        const Complex* ai = row_of(a, i);
        for (int k = 0; k < ac; ++k) {
            const Complex x = ai[k];
            const Complex* bk = row_of(b, k + 1);
            for (int j = 0; j < bc; ++j) add_product(out[j], x, bk[j]);
        }
    }
    return product;
}

InverseResult matrix_inverse(const Matrix& a, const StopCheck& stop) {
    if (!is_proper_square(a)) return {std::nullopt, EliminationError::NotSquare};
    Matrix work = a;
    Matrix inverse = identity(a.rows());
    if (!eliminate(work, &inverse, stop)) return {std::nullopt, EliminationError::NoInverse};
    return {std::move(inverse), EliminationError::NoInverse};
}

DeterminantResult matrix_det(const Matrix& a, const StopCheck& stop) {
    if (!is_proper_square(a)) return {std::nullopt, EliminationError::NotSquare};
    Matrix work = a;
    if (!eliminate(work, nullptr, stop)) return {std::nullopt, EliminationError::NoInverse};
    // Each further diagonal element multiplies the running product from the left.
    Complex d = work.at(1, 1);
    for (int k = 2; k <= work.rows(); ++k) d = complex_mul(work.at(k, k), d);
    return {d, EliminationError::NoInverse};
}

Matrix matrix_transpose(const Matrix& a) {
    Matrix t(a.cols(), a.rows());
    for (int i = 1; i <= a.rows(); ++i) {
        for (int j = 1; j <= a.cols(); ++j) t.at(j, i) = a.at(i, j);
    }
    return t;
}

Matrix matrix_row(const Matrix& a, int i) {
    Matrix row(1, a.cols());
    for (int j = 1; j <= a.cols(); ++j) row.at(1, j) = a.at(i, j);
    return row;
}

Matrix matrix_column(const Matrix& a, int j) {
    Matrix column(1, a.rows());
    for (int i = 1; i <= a.rows(); ++i) column.at(1, i) = a.at(i, j);
    return column;
}

}  // namespace ostrac::numeric
