// The units known to the conversion factor function cu(source, target) and to the
// unit converter: one fixed table of 93 units, each with its physical category and
// its size in the category's base unit.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "numeric/numeric_result.h"

namespace ostrac::numeric {

// The codes are the calculator's own; code 4 is unused.
enum class UnitCategory : std::uint8_t {
    Distance = 0,
    Mass = 1,
    Surface = 2,
    Volume = 3,
    Pressure = 5,
    Energy = 6,
    Power = 7,
    Speed = 8,
    KinematicViscosity = 9,
    DynamicViscosity = 10,
    Force = 11,
    Time = 12,
};

struct UnitCategoryInfo {
    UnitCategory category;
    std::string_view name;
    // Place in the converter's type selector, counted from 1; 0 when not offered there.
    int converter_position;
};

struct Unit {
    std::string_view name;  // as the user writes it; looked up ignoring the case of A-Z
    UnitCategory category;
    double factor;  // the size of one unit in the category's base unit (factor 1)
    // Place in the converter's list for its category, counted from 1; 0 when the
    // converter does not offer the unit (cu accepts it all the same).
    int converter_position;
};

// Every category, in code order.
std::span<const UnitCategoryInfo> unit_categories();
// Every unit, in table order (93 entries).
std::span<const Unit> units();

// The first unit whose name equals name, ignoring the case of the letters A to Z
// only; nullptr when there is none.
const Unit* unit_find(std::string_view name);

// The factor that turns a quantity in source units into target units:
// source factor / target factor. Fails with "Source unit not found\n",
// "Target unit not found\n" or "Unit dimensions don't match", checked in that order
// (the target is not looked up when the source is missing).
NumericResult<double> unit_factor(std::string_view source, std::string_view target);

// The unit converter's choices: its unit types in selector order, and the unit names
// it offers for one type, in list order (empty for a type it does not offer).
std::vector<UnitCategoryInfo> converter_unit_types();
std::vector<std::string_view> converter_units(UnitCategory category);

}  // namespace ostrac::numeric
