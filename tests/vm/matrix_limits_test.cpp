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

}  // namespace
}  // namespace ostrac
