#include "code/builtin_names.h"

#include "code/names.h"

namespace ostrac::code {

std::optional<Op> find_builtin(std::string_view name) {
    for (const BuiltinName& entry : builtin_table) {
        if (names_equal(entry.name, name)) return entry.op;
    }
    return std::nullopt;
}

}  // namespace ostrac::code
