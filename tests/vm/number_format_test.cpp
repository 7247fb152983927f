#include "vm/number_format.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace ostrac::vm {
namespace {

std::string printf_general(double x, int precision) {
    std::vector<char> buffer(2048);
    std::snprintf(buffer.data(), buffer.size(), "%.*g", precision, x);
    return buffer.data();
}

std::string general(double x, int precision) {
    std::string out;
    append_general(out, x, precision);
    return out;
}

TEST(NumberFormatTest, GeneralMatchesPrintf) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    std::vector<double> values = {
        0.0, 1.0, -1.0, 0.5, 99999999.5, 9999999.95, 99999.99999, 1e-5, 0.0001, 0.00009999999,
        1e8, 1e7, 123456789.0, 1e15, 1e16, 1e21, 1e-300, 4.9e-324, 2.2250738585072014e-308,
        1.7976931348623157e308, 0.1, 1.0 / 3.0, -2.5, 1.5, 2.5e-7, inf, -inf,
        std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::quiet_NaN(),
        std::nextafter(2.2250738585072014e-308, 0.0),  // longest exact expansion: 767 digits
    };
    std::mt19937_64 rng(20240601);
    for (int n = 0; n < 3000; ++n) {
        values.push_back(std::bit_cast<double>(rng()));  // every magnitude, sign and class
        values.push_back(static_cast<double>(static_cast<std::int32_t>(rng())));
    }
    for (const double x : values) {
        for (const int precision : {0, 1, 4, 8, 10, 17, 1000}) {
            SCOPED_TRACE(testing::Message() << std::hexfloat << x << " %." << precision << "g");
            ASSERT_EQ(general(x, precision), printf_general(x, precision));
        }
    }
}

// Fixed and scientific notation write what "%g" writes whenever "%g" itself
// chooses that form, at every precision.
TEST(NumberFormatTest, FixedAndScientificAgreeWithGeneralWhereItChoosesThem) {
    std::mt19937_64 rng(20260126);
    std::uniform_int_distribution<int> scale(-60, 80);  // both forms at every precision
    for (int n = 0; n < 6000; ++n) {
        double x = n % 3 == 0 ? std::bit_cast<double>(rng()) : std::ldexp(static_cast<double>(rng() >> 11), scale(rng) - 53);
        if (n % 2 == 1) x = -x;
        for (int digits = 1; digits <= 17; ++digits) {
            const std::string g = general(x, digits);
            const Notation form = g.find('e') == std::string::npos ? Notation::Fixed : Notation::Scientific;
            std::string out;
            append_number(out, x, digits, form, false);
            ASSERT_EQ(out, g) << std::hexfloat << x << " digits " << digits;
        }
    }
}

TEST(NumberFormatTest, NotationsDigitsAndGrouping) {
    constexpr auto A = Notation::Automatic, F = Notation::Fixed, S = Notation::Scientific, E = Notation::Engineering;
    struct Case {
        int line;
        double x;
        int digits;
        Notation notation;
        bool group;
        const char* expected;
    };
    const Case cases[] = {
        {__LINE__, 1234567.25, 10, A, false, "1234567.25"},
        {__LINE__, 1234567.25, 10, A, true, "1 234 567.25"},
        {__LINE__, 12345678901.0, 10, A, true, "1.23456789e+10"},  // mantissas are not grouped
        {__LINE__, -1234.5, 10, A, true, "-1234.5"},                // four digits stay together
        {__LINE__, -12345.5, 10, F, true, "-12 345.5"},
        {__LINE__, 1e20, 3, F, false, "100000000000000000000"},
        {__LINE__, 1.5e-7, 10, F, false, "0.00000015"},
        {__LINE__, 2.0 / 3.0, 4, F, false, "0.6667"},
        {__LINE__, 999.96, 4, F, false, "1000"},                     // rounding carries into a new digit
        {__LINE__, 1234.5, 10, S, false, "1.2345e+03"},
        {__LINE__, 1.0, 10, S, false, "1e+00"},
        {__LINE__, 4.9e-324, 17, S, false, "4.9406564584124654e-324"},
        {__LINE__, 12345.0, 10, E, false, "12.345e+03"},
        {__LINE__, 123456.0, 1, E, false, "100e+03"},
        {__LINE__, 999.96, 4, E, false, "1e+03"},
        {__LINE__, 0.00012, 10, E, false, "120e-06"},
        {__LINE__, -0.5, 10, E, false, "-500e-03"},
        {__LINE__, -0.0, 10, E, false, "0e+00"},
        {__LINE__, 0.0, 10, F, false, "0"},
        {__LINE__, -INFINITY, 5, E, false, "-inf"},
        {__LINE__, std::numeric_limits<double>::quiet_NaN(), 5, F, false, "nan"},
        {__LINE__, 2.0 / 3.0, 0, A, false, "0.7"},    // digits are brought into 1..17
        {__LINE__, 2.0 / 3.0, 40, A, false, "0.66666666666666663"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "line " << c.line);
        std::string out;
        append_number(out, c.x, c.digits, c.notation, c.group);
        EXPECT_EQ(out, c.expected);
    }
}

TEST(NumberFormatTest, NegativeZeroPrintsAsZero) {
    for (const int precision : {1, 8, 10}) EXPECT_EQ(general(-0.0, precision), "0");
}

struct FormatCase {
    const char* name;
    numeric::Complex z;
    int coord_mode;
    int angle_unit;
    const char* expected;
    DisplaySettings display = {};
};

TEST(NumberFormatTest, FormatNumber) {
    const FormatCase cases[] = {
        {"real", {0.5, 0}, 0, 1, "0.5 "},
        {"eight digits", {123456789.0, 0}, 0, 0, "1.2345679e+08 "},
        {"negative imaginary", {1, -2}, 0, 1, "1 -2i "},
        {"positive imaginary", {-1.5, 0.25}, 0, 0, "-1.5+0.25i "},
        {"polar method root", {1.2246467991473532e-16, 2}, 0, 0, "1.2246468e-16+2i "},
        {"negative zero real part", {-0.0, -1}, 0, 0, "0 -1i "},
        {"negative zero imaginary part", {3, -0.0}, 0, 0, "3 "},
        {"overflow", {-INFINITY, 0}, 0, 0, "-inf "},
        {"polar degrees", {-5, 0}, 1, 1, "5@180 "},
        {"polar imaginary", {0, 2}, 1, 1, "2@90 "},
        {"polar grads", {0, 1}, 1, 2, "1@100 "},
        {"polar radians", {0, 1}, 1, 0, "1@1.5707963 "},
        {"polar negative zero angle", {3, -0.0}, 1, 1, "3@0 "},
        {"polar complex", {3, -4}, 1, 1, "5@-53.130102 "},
        // Parts keep two digits fewer than reals, in the display's notation.
        {"twelve digits", {1.0 / 3.0, -2}, 0, 0, "0.3333333333 -2i ", {12}},
        {"one digit at least", {1.0 / 3.0, 0}, 0, 0, "0.3 ", {2}},
        {"engineering", {12345, 0.001}, 0, 0, "12.345e+03+1e-03i ", {10, Notation::Engineering}},
        {"polar fixed grouped", {0, 123456}, 1, 1, "123 456@90 ", {10, Notation::Fixed, true}},
        // Moduli whose squares leave the double range (mpmath: 1.41421356e+300, 5e-200).
        {"polar huge", {1e300, 1e300}, 1, 1, "1.4142136e+300@45 "},
        {"polar tiny", {3e-200, 4e-200}, 1, 0, "5e-200@0.92729522 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string out = "x=";
        format_number(out, c.z, c.coord_mode, c.angle_unit, c.display);
        EXPECT_EQ(out, std::string("x=") + c.expected);
    }
}

TEST(NumberFormatTest, FormatRealUsesTenDigitsAndNoBlank) {
    const std::pair<double, const char*> cases[] = {
        {1.0 / 3.0, "0.3333333333"}, {1234567890.0, "1234567890"}, {12345678901.0, "1.23456789e+10"},
        {-0.0, "0"}, {120.0, "120"}, {INFINITY, "inf"},
    };
    for (const auto& [x, expected] : cases) {
        std::string out = "v ";
        format_real(out, x);
        EXPECT_EQ(out, std::string("v ") + expected);
    }
    std::string out;
    format_real(out, 1.0 / 3.0, {17, Notation::Scientific});
    EXPECT_EQ(out, "3.3333333333333331e-01");
}

}  // namespace
}  // namespace ostrac::vm
