#include "numeric/unit_table.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <string_view>
#include <vector>

namespace ostrac::numeric {
namespace {

TEST(UnitTable, LookupIgnoresTheCaseOfLettersOnly) {
    ASSERT_EQ(units().size(), 93u);
    for (const Unit& unit : units()) {
        SCOPED_TRACE(std::string(unit.name));
        std::string upper(unit.name);
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        // A unit shadowed by an earlier one equal ignoring case would find the other.
        EXPECT_EQ(unit_find(unit.name), &unit);
        EXPECT_EQ(unit_find(upper), &unit);
    }
    EXPECT_EQ(unit_find("gal(us)")->name, "gal(US)");
    EXPECT_EQ(unit_find("gal[US]"), nullptr);
    EXPECT_EQ(unit_find("m "), nullptr);
    EXPECT_EQ(unit_find(""), nullptr);
}

TEST(UnitTable, ConversionFactors) {
    struct Case {
        const char* source;
        const char* target;
        double factor;
    };
    const Case cases[] = {
        {"km", "m", 1000},
        {"m", "km", 0.001},
        {"KM", "M", 1000},
        {"ft", "m", 0.3048000000012192},  // the stored factor, not the textbook 0.3048
        {"m", "ft", 1 / 0.3048000000012192},
        {"mmHg", "torr", 1},
        {"kcal", "cal", 1000},
        {"kg/m*s", "Pa*s", 1},
        {"bar", "Pa", 99999.99999999999},
        {"min", "sec", 59.999999880000004},
        {"year", "sec", 31545741.324921135},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.source) + " -> " + c.target);
        const auto result = unit_factor(c.source, c.target);
        ASSERT_TRUE(result.ok()) << result.error();
        EXPECT_EQ(result.value(), c.factor);
    }
}

TEST(UnitTable, ConversionErrors) {
    struct Case {
        const char* source;
        const char* target;
        const char* message;
    };
    const Case cases[] = {
        {"m", "kg", "Unit dimensions don't match"},
        {"m2/s", "m/s", "Unit dimensions don't match"},
        {"furlong", "m", "Source unit not found\n"},
        {"m", "furlong", "Target unit not found\n"},
        {"furlong", "parsec", "Source unit not found\n"},  // the source is checked first
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.source) + " -> " + c.target);
        const auto result = unit_factor(c.source, c.target);
        EXPECT_FALSE(result.ok());
        EXPECT_EQ(result.error(), c.message);
    }
}

TEST(UnitTable, EveryCategoryStartsWithItsBaseUnit) {
    ASSERT_EQ(unit_categories().size(), 12u);
    for (const UnitCategoryInfo& info : unit_categories()) {
        SCOPED_TRACE(std::string(info.name));
        const Unit* base = nullptr;
        for (const Unit& unit : units()) {
            if (unit.category != info.category) continue;
            if (base == nullptr) base = &unit;
            EXPECT_EQ(unit_factor(unit.name, base->name).value(), unit.factor);
        }
        ASSERT_NE(base, nullptr);
        EXPECT_EQ(base->factor, 1.0);
    }
}

TEST(UnitTable, ConverterChoices) {
    struct Row {
        std::string_view type;
        std::vector<std::string_view> units;
    };
    const std::vector<Row> expected = {
        {"Distance", {"m", "ft", "km", "mile", "yard", "inch", "cm", "mm", "micron"}},
        {"Surface", {"m2", "ft2", "km2", "mile2", "acre", "hectare", "in2", "cm2", "yard2"}},
        {"Volume", {"m3", "cm3", "l", "dm3", "in3", "ft3", "gal(US)", "gal(UK)"}},
        {"Mass", {"kg", "lb", "g", "mg", "oz", "slug", "MT", "Ton(US)", "Ton(UK)"}},
        {"Pressure", {"Pa", "kPa", "bar", "psi", "atm", "kg/cm2", "mmHg", "torr", "mwater"}},
        {"Energy", {"J", "kJ", "cal", "kcal", "Btu", "kW*h", "HP*s", "lbf*ft", "kgf*m"}},
        {"Power", {"W", "kW", "HP", "kcal/hr", "Btu/hr", "kgf*m/s", "lbf*ft/s", "Btu/s", "cal/s"}},
        {"Force", {"N", "dyne", "lbf", "kgf"}},
        {"Speed", {"m/s", "km/h", "mph", "knot", "ft/s", "cm/s"}},
        {"Time", {"sec", "min", "hour", "day", "year"}},
    };
    const std::vector<UnitCategoryInfo> types = converter_unit_types();
    ASSERT_EQ(types.size(), expected.size());
    for (std::size_t k = 0; k < types.size(); ++k) {
        SCOPED_TRACE(std::string(expected[k].type));
        EXPECT_EQ(types[k].name, expected[k].type);
        EXPECT_EQ(converter_units(types[k].category), expected[k].units);
    }
    EXPECT_TRUE(converter_units(UnitCategory::KinematicViscosity).empty());
    EXPECT_TRUE(converter_units(UnitCategory::DynamicViscosity).empty());
}

}  // namespace
}  // namespace ostrac::numeric
