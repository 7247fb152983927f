// Matrices of complex elements, indexed from 1. A value type: every operation
// returns new storage and never changes its operands. Operations that can fail
// return an empty optional; the caller turns that into the user's message.
#pragma once

#include <cstdint>
#include <new>
#include <optional>
#include <vector>

#include "numeric/complex.h"
#include "numeric/stop_check.h"

namespace ostrac::numeric {

class Matrix {
public:
    static constexpr int max_dimension = 32767;  // rows and columns are 16-bit counts
    // 16,777,216 elements (256 MiB): larger requests fail like an exhausted
    // heap instead of stalling the machine on an allocation that may not fit;
    // an operation on two such matrices still needs under a gigabyte.
    static constexpr std::size_t max_elements = std::size_t{1} << 24;

    Matrix() = default;
    // A rows by cols matrix with every element 0. Throws std::bad_alloc for
    // sizes beyond the limits.
    Matrix(int rows, int cols) : rows_(rows), cols_(cols), elements_(checked_count(rows, cols)) {}

    int rows() const { return rows_; }
    int cols() const { return cols_; }

    Complex& at(int i, int j) { return elements_[index(i, j)]; }
    const Complex& at(int i, int j) const { return elements_[index(i, j)]; }

    // The elements row after row from (1, 1): what the dense algorithms work on.
    Complex* data() { return elements_.data(); }
    const Complex* data() const { return elements_.data(); }

    friend bool operator==(const Matrix&, const Matrix&) = default;

private:
    static std::size_t checked_count(int rows, int cols) {
        const auto count = static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
        if (rows < 0 || cols < 0 || rows > max_dimension || cols > max_dimension || count > max_elements) {
            throw std::bad_alloc();
        }
        return count;
    }

    std::size_t index(int i, int j) const {
        return static_cast<std::size_t>(i - 1) * static_cast<std::size_t>(cols_) +
               static_cast<std::size_t>(j - 1);
    }

    int rows_ = 0;
    int cols_ = 0;
    std::vector<Complex> elements_;
};

// A + k B element-wise (k is +1 or -1); empty when the shapes differ.
std::optional<Matrix> matrix_add(const Matrix& a, const Matrix& b, int k);
Matrix matrix_scale(const Matrix& a, Complex s);
// Matrix product with the row-vector rule; empty when the shapes do not fit.
// `stop` is asked before each row of a small product and before each block of
// a large one.
std::optional<Matrix> matrix_mul(const Matrix& a, const Matrix& b, const StopCheck& stop = {});

enum class EliminationError { NotSquare, NoInverse };
struct InverseResult {
    std::optional<Matrix> value;
    EliminationError error = EliminationError::NoInverse;
};
struct DeterminantResult {
    std::optional<Complex> value;
    EliminationError error = EliminationError::NoInverse;
};
// Elimination with partial pivoting; only a column whose candidates are all
// exactly 0 leaves the matrix without an inverse. `stop` is asked before each
// pivot of a small matrix and before each block of work on a large one.
InverseResult matrix_inverse(const Matrix& a, const StopCheck& stop = {});
DeterminantResult matrix_det(const Matrix& a, const StopCheck& stop = {});

Matrix matrix_transpose(const Matrix& a);
Matrix matrix_row(const Matrix& a, int i);     // 1 by cols
Matrix matrix_column(const Matrix& a, int j);  // 1 by rows (a row vector)

}  // namespace ostrac::numeric
