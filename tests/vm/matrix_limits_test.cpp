#include <gtest/gtest.h>

#include "support/scripts.h"

namespace ostrac {
namespace {

// Matrices too large to allocate stop the command like any other error; the
// calculator goes on.
TEST(MatrixLimitsTest, OversizedMatricesFailTheCommandOnly) {
    test::run_scripts({
        {__LINE__, {"m = [1]", "m(32767, 32767) = 1"}, {"Failure in allocate_matrix(). line=1"}},
        {__LINE__, {"x = [1]", "x(1, 20000) = 1", "y = TRANS(x) * x"}, {"Failure in allocate_matrix(). line=1"}},
        {__LINE__, {"m = [1]", "m(32767, 32767) = 1", "print rows(m), cols(m)"}, {"11"}},
        {__LINE__, {"x = [1]", "x(1, 20000) = 1", "print cols(x)"}, {"20000"}},
    });
}

// 16,777,216 elements is the largest matrix: 4096 by 4096 fits, one row more
// is refused, and the session goes on with the matrix it had.
TEST(MatrixLimitsTest, SixteenMillionElementsAtMost) {
    test::run_scripts({
        {__LINE__, {"m = [1]", "m(4096, 4096) = 2", "print rows(m) * cols(m), m(4096, 4096)"}, {"167772162"}},
        {__LINE__, {"m = [1]", "m(4097, 4096) = 1"}, {"Failure in allocate_matrix(). line=1"}},
        {__LINE__, {"m = [1]", "m(4097, 4096) = 1", "print rows(m), m(1, 1)"}, {"11"}},
        {__LINE__, {"x = [1]", "x(1, 4097) = 1", "y = TRANS(x) * x"}, {"Failure in allocate_matrix(). line=1"}},
    });
}

}  // namespace
}  // namespace ostrac
