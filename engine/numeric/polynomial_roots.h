// Roots of polynomials with real coefficients: Newton's method in complex arithmetic
// from a fixed sequence of starting points, each root polished on the undeflated
// polynomial, deflation by a linear or quadratic factor so that complex roots always
// come as adjacent conjugate pairs.
#pragma once

#include <span>
#include <vector>

#include "numeric/complex.h"
#include "numeric/matrix.h"
#include "numeric/numeric_result.h"
#include "numeric/stop_check.h"

namespace ostrac::numeric {

enum class ZerpolStatus {
    Ok = 0,
    DegreeTooLow = 1,            // degree below 1
    DegreeTooHigh = 2,           // degree above 36
    NoConvergence = 3,           // five starts exhausted their iterations for one root
    ZeroLeadingCoefficient = 4,  // the coefficient of the highest power is exactly 0
    Stopped = 5,                 // the caller's stop check said so
};

struct ZerpolOutcome {
    ZerpolStatus status = ZerpolStatus::Ok;
    // The roots in the order they were found; those found before a failure when the
    // status is not Ok. A conjugate pair found when a single root was left makes one
    // more root than the degree.
    std::vector<Complex> roots;
};

// Root finder on the coefficients in descending order, highest power first and the
// constant term last; the degree is the coefficient count minus 1. `stop` is asked
// before each start of the search.
ZerpolOutcome Zerpol(std::span<const double> coefficients, const StopCheck& stop = {});

// The zerpol built-in's computation: row 1 of v holds the coefficients, highest power
// first; only their real parts are used. Returns a 1 by degree matrix of the roots in
// the order found, or fails with "Error in Zerpol: max degree 20!\n" (more than 20
// elements), "Error in Zerpol: min degree 2\n" (one element) or "Error in Zerpol!\n"
// (any failure of the root finder).
NumericResult<Matrix> polynomial_roots(const Matrix& v, const StopCheck& stop = {});

}  // namespace ostrac::numeric
