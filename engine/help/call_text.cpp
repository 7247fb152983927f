#include "help/call_text.h"

#include <cstddef>

namespace ostrac::help {

std::string compose_call(const HelpEntry& entry, std::span<const std::string> fields, std::string_view factor) {
    std::string call;
    if (!factor.empty() && factor != "1") {
        call += factor;
        call += '*';
    }
    call += entry.name;
    const int count = entry.parameter_count();
    if (count == 0) return call;
    call += "( ";
    for (int k = 0; k < count; ++k) {
        const auto index = static_cast<std::size_t>(k);
        const std::string_view text = index < fields.size() ? std::string_view(fields[index]) : std::string_view();
        if (k > 0) call += ',';
        if (entry.parameters[index].quoted) {
            call += '"';
            call += text;
            call += '"';
        } else {
            call += text;
        }
    }
    call += ')';
    return call;
}

}  // namespace ostrac::help
