// The function wizard's unit converter: the unit types it offers in its
// selector, and the units it lists for each, both in the order shown.
#pragma once

#include <string_view>
#include <vector>

namespace ostrac::help {

struct ConverterType {
    std::string_view name;
    int id;  // what converter_units takes
};

std::vector<ConverterType> converter_types();
// Empty for an id the converter does not offer.
std::vector<std::string_view> converter_units(int type_id);

}  // namespace ostrac::help
