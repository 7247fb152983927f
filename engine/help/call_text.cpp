#include "help/call_text.h"

#include <cstddef>

namespace ostrac::help {

namespace {

// A number or a name, with at most a sign before it: safe to multiply as it
// stands. Anything else (2+3, x-1) needs parentheses, or the product would
// bind to its last term only.
bool is_single_term(std::string_view text) {
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
    if (text.empty()) return false;
    for (const char c : text) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                           c == '.';
        if (!plain) return false;
    }
    return true;
}

}  // namespace

std::string compose_call(const HelpEntry& entry, std::span<const std::string> fields, std::string_view factor) {
    std::string call;
    if (!factor.empty() && factor != "1") {
        const bool bracket = !is_single_term(factor);
        if (bracket) call += '(';
        call += factor;
        if (bracket) call += ')';
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
