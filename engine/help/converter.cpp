#include "help/converter.h"

#include "numeric/unit_table.h"

namespace ostrac::help {

std::vector<ConverterType> converter_types() {
    std::vector<ConverterType> types;
    for (const numeric::UnitCategoryInfo& type : numeric::converter_unit_types()) {
        types.push_back({type.name, static_cast<int>(type.category)});
    }
    return types;
}

std::vector<std::string_view> converter_units(int type_id) {
    for (const numeric::UnitCategoryInfo& type : numeric::unit_categories()) {
        if (static_cast<int>(type.category) == type_id) return numeric::converter_units(type.category);
    }
    return {};
}

}  // namespace ostrac::help
