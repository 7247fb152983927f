// Checks the engine's unit table entry by entry against an independently kept list of
// the 93 units: their order, names, category codes and the exact stored doubles of
// their factors. The factors are written in their shortest round-trip decimal form, so
// each literal below reads back to one double that must match bit for bit.
#include "numeric/unit_table.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace ostrac::numeric {
namespace {

struct ExpectedUnit {
    std::string_view name;
    int category;
    double factor;
};

// The units in table order.
constexpr ExpectedUnit expected_units[] = {
    {"m", 0, 1},
    {"ft", 0, 0.3048000000012192},
    {"km", 0, 1000},
    {"mile", 0, 1609.3439798947877},
    {"yard", 0, 0.9144000002823668},
    {"inch", 0, 0.0254000000001016},
    {"cm", 0, 0.01},
    {"mm", 0, 0.001},
    {"micron", 0, 1e-6},
    {"m2", 2, 1},
    {"ft2", 2, 0.09290303999749462},
    {"km2", 2, 1000000},
    {"mile2", 2, 2590002.59000259},
    {"acre", 2, 4046.8561188869207},
    {"hectare", 2, 10000},
    {"in2", 2, 0.0006451600000025807},
    {"cm2", 2, 0.0001},
    {"yard2", 2, 0.836127360210488},
    {"m3", 3, 1},
    {"cm3", 3, 1e-6},
    {"l", 3, 0.001},
    {"dm3", 3, 0.001},
    {"in3", 3, 1.63871e-5},
    {"ft3", 3, 0.0283168},
    {"gal(US)", 3, 0.003785412534},
    {"gal(UK)", 3, 0.004546115799},
    {"kg", 1, 1},
    {"lb", 1, 0.45359236998946084},
    {"g", 1, 0.001},
    {"mg", 1, 1e-6},
    {"oz", 1, 0.028349523124984257},
    {"slug", 1, 14.593902928003786},
    {"MT", 1, 1000},
    {"Ton(US)", 1, 907.1847489905982},
    {"Ton(UK)", 1, 1016.0469373043157},
    {"Pa", 5, 1},
    {"bar", 5, 99999.99999999999},
    {"psi", 5, 6894.780179318656},
    {"kPa", 5, 1000},
    {"atm", 5, 101325.00000164399},
    {"kg/cm2", 5, 98066.49999787736},
    {"mmHg", 5, 133.32195652637643},
    {"torr", 5, 133.32195652637643},
    {"ftwater", 5, 2986.1225686975117},
    {"cmwater", 5, 97.96990054090799},
    {"mwater", 5, 0.97969900540908},
    {"J", 6, 1},
    {"kJ", 6, 1000},
    {"kcal", 6, 4184.0000024099845},
    {"Btu", 6, 1054.350002975903},
    {"kW*h", 6, 3599997.120002304},
    {"HP*s", 6, 745.6999214032282},
    {"lbf*ft", 6, 1.3558200609847864},
    {"kgf*m", 6, 9.806613580198487},
    {"cal", 6, 4.184000002409984},
    {"W", 7, 1},
    {"kW", 7, 1000},
    {"HP", 7, 745.7010335416325},
    {"kcal/hr", 7, 1.1622200003545933},
    {"Btu/hr", 7, 0.2928746525774434},
    {"kgf*m/s", 7, 9.806613580198487},
    {"lbf*ft/s", 7, 1.3558200609847864},
    {"Btu/s", 7, 1054.3499473932093},
    {"cal/s", 7, 4.18399200224908},
    {"m/s", 8, 1},
    {"km/h", 8, 0.2777777777777778},
    {"mph", 8, 0.4470400004105615},
    {"knot", 8, 0.5144456333854638},
    {"ft/s", 8, 0.3048000000012192},
    {"cm/s", 8, 0.01},
    {"m2/s", 9, 1},
    {"ft2/s", 9, 0.09290303999749462},
    {"St", 9, 0.0001},
    {"cm2/s", 9, 0.0001},
    {"cSt", 9, 1e-6},
    {"cm2/h", 9, 2.7777777777777777e-8},
    {"ft2/h", 9, 2.5806400000103227e-5},
    {"kg/m*s", 10, 1},
    {"lb/ft*s", 10, 1.4881639438785101},
    {"P", 10, 0.1},
    {"cP", 10, 0.001},
    {"g/cm*s", 10, 0.1},
    {"Pa*s", 10, 1},
    {"lb/ft*h", 10, 0.0004133789006407228},
    {"N", 11, 1},
    {"dyne", 11, 1e-5},
    {"lbf", 11, 4.44822246806065},
    {"kgf", 11, 9.806652048217348},
    {"sec", 12, 1},
    {"min", 12, 59.999999880000004},
    {"hour", 12, 3599.999712000023},
    {"day", 12, 86399.80646443352},
    {"year", 12, 31545741.324921135},
};

constexpr std::size_t expected_unit_count = 93;
static_assert(std::size(expected_units) == expected_unit_count);

// 17 significant digits: enough to tell any two doubles apart.
std::string g17(double x) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", x);
    return buffer;
}

std::string bits(double x) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "0x%016llx",
                  static_cast<unsigned long long>(std::bit_cast<std::uint64_t>(x)));
    return buffer;
}

// The unit of factor 1 in each category, by category code; empty for the unused code 4.
std::string_view base_unit(int category) {
    switch (category) {
        case 0: return "m";
        case 1: return "kg";
        case 2: return "m2";
        case 3: return "m3";
        case 5: return "Pa";
        case 6: return "J";
        case 7: return "W";
        case 8: return "m/s";
        case 9: return "m2/s";
        case 10: return "kg/m*s";
        case 11: return "N";
        case 12: return "sec";
        default: return {};
    }
}

TEST(UnitFactors, TableHoldsTheSameUnitsInTheSameOrder) {
    const auto table = units();
    ASSERT_EQ(table.size(), expected_unit_count);
    for (std::size_t i = 0; i < expected_unit_count; ++i) {
        const ExpectedUnit& want = expected_units[i];
        const Unit& got = table[i];
        SCOPED_TRACE("entry " + std::to_string(i + 1) + " \"" + std::string(want.name) + "\"");
        EXPECT_EQ(got.name, want.name);
        EXPECT_EQ(static_cast<int>(got.category), want.category);
    }
}

TEST(UnitFactors, EveryFactorMatchesBitForBit) {
    const auto table = units();
    ASSERT_EQ(table.size(), expected_unit_count);
    int mismatches = 0;
    for (std::size_t i = 0; i < expected_unit_count; ++i) {
        const ExpectedUnit& want = expected_units[i];
        const Unit& got = table[i];
        const bool same = std::bit_cast<std::uint64_t>(got.factor) ==
                          std::bit_cast<std::uint64_t>(want.factor);
        EXPECT_TRUE(same) << "entry " << i + 1 << " \"" << want.name << "\": table has "
                          << g17(got.factor) << " (" << bits(got.factor) << "), expected "
                          << g17(want.factor) << " (" << bits(want.factor) << ")";
        if (!same) ++mismatches;
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(UnitFactors, LookupFindsEachUnitAtItsOwnEntry) {
    const auto table = units();
    ASSERT_EQ(table.size(), expected_unit_count);
    for (std::size_t i = 0; i < expected_unit_count; ++i) {
        const ExpectedUnit& want = expected_units[i];
        SCOPED_TRACE(std::string(want.name));
        const Unit* found = unit_find(want.name);
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found, &table[i]);
        EXPECT_EQ(static_cast<int>(found->category), want.category);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(found->factor), std::bit_cast<std::uint64_t>(want.factor));
    }
}

TEST(UnitFactors, FeetToMetresKeepsTheStoredFactorDigits) {
    const auto factor = unit_factor("ft", "m");
    ASSERT_TRUE(factor.ok()) << factor.error();
    // The stored factor, not the textbook 0.3048: dividing by the metre's 1 changes nothing.
    EXPECT_EQ(g17(factor.value()), "0.30480000000121921");
    EXPECT_EQ(std::bit_cast<std::uint64_t>(factor.value()),
              std::bit_cast<std::uint64_t>(0.3048000000012192));
}

TEST(UnitFactors, ConversionToTheBaseUnitGivesTheFactorExactly) {
    for (const ExpectedUnit& want : expected_units) {
        const std::string_view base = base_unit(want.category);
        SCOPED_TRACE(std::string(want.name) + " -> " + std::string(base));
        ASSERT_FALSE(base.empty());
        const auto factor = unit_factor(want.name, base);
        ASSERT_TRUE(factor.ok()) << factor.error();
        EXPECT_EQ(std::bit_cast<std::uint64_t>(factor.value()), std::bit_cast<std::uint64_t>(want.factor))
            << "got " << g17(factor.value()) << ", expected " << g17(want.factor);
    }
}

TEST(UnitFactors, EachBaseUnitHasFactorOneAndIsItsCategorysFirstEntry) {
    for (int category : {0, 1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12}) {
        const std::string_view base = base_unit(category);
        SCOPED_TRACE(std::string(base));
        const Unit* unit = unit_find(base);
        ASSERT_NE(unit, nullptr);
        EXPECT_EQ(static_cast<int>(unit->category), category);
        EXPECT_EQ(unit->factor, 1.0);
        std::size_t first = expected_unit_count;
        for (std::size_t i = 0; i < expected_unit_count; ++i) {
            if (expected_units[i].category == category) {
                first = i;
                break;
            }
        }
        ASSERT_LT(first, expected_unit_count);
        EXPECT_EQ(unit, &units()[first]);
    }
}

}  // namespace
}  // namespace ostrac::numeric
