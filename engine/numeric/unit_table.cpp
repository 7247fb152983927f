#include "numeric/unit_table.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <iterator>

namespace ostrac::numeric {

namespace {

constexpr std::array<UnitCategoryInfo, 12> category_table{{
    {UnitCategory::Distance, "Distance", 1},
    {UnitCategory::Mass, "Mass", 4},
    {UnitCategory::Surface, "Surface", 2},
    {UnitCategory::Volume, "Volume", 3},
    {UnitCategory::Pressure, "Pressure", 5},
    {UnitCategory::Energy, "Energy", 6},
    {UnitCategory::Power, "Power", 7},
    {UnitCategory::Speed, "Speed", 9},
    {UnitCategory::KinematicViscosity, "Kinematic viscosity", 0},
    {UnitCategory::DynamicViscosity, "Dynamic viscosity", 0},
    {UnitCategory::Force, "Force", 8},
    {UnitCategory::Time, "Time", 10},
}};

// The factors are the calculator's stored values, several of them a few units of the
// last place away from the textbook constant; conversions divide these exact values.
constexpr std::array<Unit, 93> unit_table{{
    {"m",         UnitCategory::Distance,           1,                     1},
    {"ft",        UnitCategory::Distance,           0.3048000000012192,    2},
    {"km",        UnitCategory::Distance,           1000,                  3},
    {"mile",      UnitCategory::Distance,           1609.3439798947877,    4},
    {"yard",      UnitCategory::Distance,           0.9144000002823668,    5},
    {"inch",      UnitCategory::Distance,           0.0254000000001016,    6},
    {"cm",        UnitCategory::Distance,           0.01,                  7},
    {"mm",        UnitCategory::Distance,           0.001,                 8},
    {"micron",    UnitCategory::Distance,           1e-6,                  9},
    {"m2",        UnitCategory::Surface,            1,                     1},
    {"ft2",       UnitCategory::Surface,            0.09290303999749462,   2},
    {"km2",       UnitCategory::Surface,            1000000,               3},
    {"mile2",     UnitCategory::Surface,            2590002.59000259,      4},
    {"acre",      UnitCategory::Surface,            4046.8561188869207,    5},
    {"hectare",   UnitCategory::Surface,            10000,                 6},
    {"in2",       UnitCategory::Surface,            0.0006451600000025807, 7},
    {"cm2",       UnitCategory::Surface,            0.0001,                8},
    {"yard2",     UnitCategory::Surface,            0.836127360210488,     9},
    {"m3",        UnitCategory::Volume,             1,                     1},
    {"cm3",       UnitCategory::Volume,             1e-6,                  2},
    {"l",         UnitCategory::Volume,             0.001,                 3},
    {"dm3",       UnitCategory::Volume,             0.001,                 4},
    {"in3",       UnitCategory::Volume,             1.63871e-5,            5},
    {"ft3",       UnitCategory::Volume,             0.0283168,             6},
    {"gal(US)",   UnitCategory::Volume,             0.003785412534,        7},
    {"gal(UK)",   UnitCategory::Volume,             0.004546115799,        8},
    {"kg",        UnitCategory::Mass,               1,                     1},
    {"lb",        UnitCategory::Mass,               0.45359236998946084,   2},
    {"g",         UnitCategory::Mass,               0.001,                 3},
    {"mg",        UnitCategory::Mass,               1e-6,                  4},
    {"oz",        UnitCategory::Mass,               0.028349523124984257,  5},
    {"slug",      UnitCategory::Mass,               14.593902928003786,    6},
    {"MT",        UnitCategory::Mass,               1000,                  7},
    {"Ton(US)",   UnitCategory::Mass,               907.1847489905982,     8},
    {"Ton(UK)",   UnitCategory::Mass,               1016.0469373043157,    9},
    {"Pa",        UnitCategory::Pressure,           1,                     1},
    {"bar",       UnitCategory::Pressure,           99999.99999999999,     3},
    {"psi",       UnitCategory::Pressure,           6894.780179318656,     4},
    {"kPa",       UnitCategory::Pressure,           1000,                  2},
    {"atm",       UnitCategory::Pressure,           101325.00000164399,    5},
    {"kg/cm2",    UnitCategory::Pressure,           98066.49999787736,     6},
    {"mmHg",      UnitCategory::Pressure,           133.32195652637643,    7},
    {"torr",      UnitCategory::Pressure,           133.32195652637643,    8},
    {"ftwater",   UnitCategory::Pressure,           2986.1225686975117,    0},
    {"cmwater",   UnitCategory::Pressure,           97.96990054090799,     0},
    {"mwater",    UnitCategory::Pressure,           0.97969900540908,      9},
    {"J",         UnitCategory::Energy,             1,                     1},
    {"kJ",        UnitCategory::Energy,             1000,                  2},
    {"kcal",      UnitCategory::Energy,             4184.0000024099845,    4},
    {"Btu",       UnitCategory::Energy,             1054.350002975903,     5},
    {"kW*h",      UnitCategory::Energy,             3599997.120002304,     6},
    {"HP*s",      UnitCategory::Energy,             745.6999214032282,     7},
    {"lbf*ft",    UnitCategory::Energy,             1.3558200609847864,    8},
    {"kgf*m",     UnitCategory::Energy,             9.806613580198487,     9},
    {"cal",       UnitCategory::Energy,             4.184000002409984,     3},
    {"W",         UnitCategory::Power,              1,                     1},
    {"kW",        UnitCategory::Power,              1000,                  2},
    {"HP",        UnitCategory::Power,              745.7010335416325,     3},
    {"kcal/hr",   UnitCategory::Power,              1.1622200003545933,    4},
    {"Btu/hr",    UnitCategory::Power,              0.2928746525774434,    5},
    {"kgf*m/s",   UnitCategory::Power,              9.806613580198487,     6},
    {"lbf*ft/s",  UnitCategory::Power,              1.3558200609847864,    7},
    {"Btu/s",     UnitCategory::Power,              1054.3499473932093,    8},
    {"cal/s",     UnitCategory::Power,              4.18399200224908,      9},
    {"m/s",       UnitCategory::Speed,              1,                     1},
    {"km/h",      UnitCategory::Speed,              0.2777777777777778,    2},
    {"mph",       UnitCategory::Speed,              0.4470400004105615,    3},
    {"knot",      UnitCategory::Speed,              0.5144456333854638,    4},
    {"ft/s",      UnitCategory::Speed,              0.3048000000012192,    5},
    {"cm/s",      UnitCategory::Speed,              0.01,                  6},
    {"m2/s",      UnitCategory::KinematicViscosity, 1,                     0},
    {"ft2/s",     UnitCategory::KinematicViscosity, 0.09290303999749462,   0},
    {"St",        UnitCategory::KinematicViscosity, 0.0001,                0},
    {"cm2/s",     UnitCategory::KinematicViscosity, 0.0001,                0},
    {"cSt",       UnitCategory::KinematicViscosity, 1e-6,                  0},
    {"cm2/h",     UnitCategory::KinematicViscosity, 2.7777777777777777e-8, 0},
    {"ft2/h",     UnitCategory::KinematicViscosity, 2.5806400000103227e-5, 0},
    {"kg/m*s",    UnitCategory::DynamicViscosity,   1,                     0},
    {"lb/ft*s",   UnitCategory::DynamicViscosity,   1.4881639438785101,    0},
    {"P",         UnitCategory::DynamicViscosity,   0.1,                   0},
    {"cP",        UnitCategory::DynamicViscosity,   0.001,                 0},
    {"g/cm*s",    UnitCategory::DynamicViscosity,   0.1,                   0},
    {"Pa*s",      UnitCategory::DynamicViscosity,   1,                     0},
    {"lb/ft*h",   UnitCategory::DynamicViscosity,   0.0004133789006407228, 0},
    {"N",         UnitCategory::Force,              1,                     1},
    {"dyne",      UnitCategory::Force,              1e-5,                  2},
    {"lbf",       UnitCategory::Force,              4.44822246806065,      3},
    {"kgf",       UnitCategory::Force,              9.806652048217348,     4},
    {"sec",       UnitCategory::Time,               1,                     1},
    {"min",       UnitCategory::Time,               59.999999880000004,    2},
    {"hour",      UnitCategory::Time,               3599.999712000023,     3},
    {"day",       UnitCategory::Time,               86399.80646443352,     4},
    {"year",      UnitCategory::Time,               31545741.324921135,    5},
}};

constexpr char fold_case(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr bool same_name(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return fold_case(x) == fold_case(y); });
}

// Lookup returns the first match, so a later name equal to an earlier one ignoring
// case could never be found.
constexpr bool names_distinct() {
    for (std::size_t i = 0; i < unit_table.size(); ++i) {
        for (std::size_t j = i + 1; j < unit_table.size(); ++j) {
            if (same_name(unit_table[i].name, unit_table[j].name)) return false;
        }
    }
    return true;
}
static_assert(names_distinct());

// The converter positions within a category must be 1, 2, ... without gaps or repeats.
constexpr bool converter_positions_dense() {
    for (const UnitCategoryInfo& info : category_table) {
        int offered = 0;
        for (const Unit& unit : unit_table) {
            if (unit.category == info.category && unit.converter_position > 0) ++offered;
        }
        for (int position = 1; position <= offered; ++position) {
            const auto holders = std::count_if(unit_table.begin(), unit_table.end(), [&](const Unit& unit) {
                return unit.category == info.category && unit.converter_position == position;
            });
            if (holders != 1) return false;
        }
    }
    return true;
}
static_assert(converter_positions_dense());

}  // namespace

std::span<const UnitCategoryInfo> unit_categories() { return category_table; }

std::span<const Unit> units() { return unit_table; }

const Unit* unit_find(std::string_view name) {
    const auto found = std::find_if(unit_table.begin(), unit_table.end(),
                                    [&](const Unit& unit) { return same_name(unit.name, name); });
    return found == unit_table.end() ? nullptr : &*found;
}

NumericResult<double> unit_factor(std::string_view source, std::string_view target) {
    const Unit* from = unit_find(source);
    if (from == nullptr) return NumericResult<double>::failure("Source unit not found\n");
    const Unit* to = unit_find(target);
    if (to == nullptr) return NumericResult<double>::failure("Target unit not found\n");
    if (from->category != to->category) return NumericResult<double>::failure("Unit dimensions don't match");
    return NumericResult<double>::success(from->factor / to->factor);
}

std::vector<UnitCategoryInfo> converter_unit_types() {
    std::vector<UnitCategoryInfo> types;
    std::copy_if(category_table.begin(), category_table.end(), std::back_inserter(types),
                 [](const UnitCategoryInfo& info) { return info.converter_position > 0; });
    std::sort(types.begin(), types.end(), [](const UnitCategoryInfo& a, const UnitCategoryInfo& b) {
        return a.converter_position < b.converter_position;
    });
    return types;
}

std::vector<std::string_view> converter_units(UnitCategory category) {
    std::vector<const Unit*> offered;
    for (const Unit& unit : unit_table) {
        if (unit.category == category && unit.converter_position > 0) offered.push_back(&unit);
    }
    std::sort(offered.begin(), offered.end(),
              [](const Unit* a, const Unit* b) { return a->converter_position < b->converter_position; });
    std::vector<std::string_view> names;
    names.reserve(offered.size());
    for (const Unit* unit : offered) names.push_back(unit->name);
    return names;
}

}  // namespace ostrac::numeric
