// Names the user types are compared ignoring the case of the ASCII letters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ostrac::code {

constexpr char fold_ascii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr bool names_equal(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (fold_ascii(a[i]) != fold_ascii(b[i])) return false;
    }
    return true;
}

// Symbol names hold at most this many characters; longer names are cut.
inline constexpr std::size_t max_name_length = 10;

// The key under which the symbol table indexes a name: at most ten
// characters, letters folded to upper case.
inline std::string name_key(std::string_view name) {
    std::string key(name.substr(0, max_name_length));
    for (char& c : key) c = fold_ascii(c);
    return key;
}

}  // namespace ostrac::code
