#include "numeric/matrix.h"

namespace ostrac::numeric {

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
