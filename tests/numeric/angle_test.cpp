#include "numeric/angle.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

namespace ostrac::numeric {
namespace {

struct AngleCase {
    double x;
    int unit;
    double expected;
};

// Expected values were derived with exact rational arithmetic: double constants, each
// product rounded to 64 significant bits, the result rounded to double. Several inputs
// are chosen so that plain double arithmetic, or constants kept to 64 bits, would give
// a neighbouring double instead.
TEST(AngleTest, ToRadiansMatchesExtendedPrecisionProducts) {
    const AngleCase cases[] = {
        {180.0, 1, 3.14159265358979},
        {319.0176465707268, 1, 5.567908304622775},      // double arithmetic: ...774
        {0.7853981633974483, 1, 0.013707783890401873},  // 64-bit constants: ...871
        {200.0, 2, 3.14159265358979},
        {22.0, 2, 0.3455751918948769},   // double arithmetic: ...695
        {5.0, 2, 0.07853981633974476},   // 64-bit constants: ...474
        {123.25, 0, 123.25},
        {-7.5, 3, -7.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << " unit " << c.unit);
        EXPECT_EQ(to_radians(c.x, c.unit), c.expected);
    }
}

TEST(AngleTest, FromRadiansMatchesExtendedPrecisionProducts) {
    const AngleCase cases[] = {
        {-186.44736003012474, 1, -10682.646831082317},  // double arithmetic: ...315
        {1.0, 1, 57.29577951308239},                    // 64-bit constant: ...238
        {3.141592653589793, 1, 180.0000000000002},
        {-673.2588510802943, 2, -42860.98965191968},    // double arithmetic: ...685
        {1.0, 2, 63.661977236758204},                   // 64-bit constant: ...582
        {2.5, 0, 2.5},
        {2.5, -1, 2.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << " unit " << c.unit);
        EXPECT_EQ(from_radians(c.x, c.unit), c.expected);
    }
}

TEST(AngleTest, HalfTurnInDegreesIsTheFifteenDigitPi) {
    // Not the double nearest to pi (…2D18) but the 15-digit value seven units below it.
    EXPECT_EQ(std::bit_cast<std::uint64_t>(to_radians(180.0, 1)), 0x400921FB54442D11u);
}

}  // namespace
}  // namespace ostrac::numeric
