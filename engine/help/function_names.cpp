#include "help/function_names.h"

#include <algorithm>

#include "code/builtin_names.h"
#include "code/names.h"
#include "help/function_help.h"

namespace ostrac::help {

namespace {

bool is_word_char(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool less_ignoring_case(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return code::fold_ascii(x) < code::fold_ascii(y); });
}

// The identifier that ends at `end`, or an empty view.
std::string_view word_ending_at(std::string_view text, std::size_t end) {
    const std::size_t start = word_start(text, end);
    const std::string_view word = text.substr(start, end - start);
    if (word.empty() || (word.front() >= '0' && word.front() <= '9')) return {};
    return word;
}

}  // namespace

std::vector<std::string> function_names() {
    std::vector<std::string> names;
    auto add = [&](std::string_view name) {
        const bool known = std::any_of(names.begin(), names.end(),
                                       [&](const std::string& have) { return code::names_equal(have, name); });
        if (!known) names.emplace_back(name);
    };
    for (const HelpEntry& entry : help_entries()) add(entry.call_name());
    for (const code::BuiltinName& builtin : code::builtin_table) add(builtin.name);
    std::stable_sort(names.begin(), names.end(), less_ignoring_case);
    return names;
}

bool is_function_name(std::string_view name) {
    return code::find_builtin(name).has_value() || !find_help_by_name(name).empty();
}

std::vector<std::string> names_starting_with(std::string_view prefix) {
    std::vector<std::string> found;
    for (const std::string& name : function_names()) {
        if (name.size() >= prefix.size() && code::names_equal(std::string_view(name).substr(0, prefix.size()), prefix)) {
            found.push_back(name);
        }
    }
    return found;
}

std::size_t word_start(std::string_view text, std::size_t caret) {
    caret = std::min(caret, text.size());
    std::size_t start = caret;
    while (start > 0 && is_word_char(text[start - 1])) --start;
    return start;
}

std::string function_at(std::string_view text, std::size_t caret) {
    caret = std::min(caret, text.size());
    // The word the caret touches, read to its end.
    std::size_t end = caret;
    while (end < text.size() && is_word_char(text[end])) ++end;
    if (const std::string_view word = word_ending_at(text, end); !word.empty() && is_function_name(word)) {
        return std::string(word);
    }

    // The parentheses still open before the caret, outside strings.
    std::vector<std::size_t> open;
    bool in_string = false;
    for (std::size_t i = 0; i < caret; ++i) {
        const char c = text[i];
        if (c == '"') {
            in_string = !in_string;
        } else if (!in_string && c == '(') {
            open.push_back(i);
        } else if (!in_string && c == ')' && !open.empty()) {
            open.pop_back();
        }
    }
    for (auto it = open.rbegin(); it != open.rend(); ++it) {
        std::size_t name_end = *it;
        while (name_end > 0 && text[name_end - 1] == ' ') --name_end;
        const std::string_view word = word_ending_at(text, name_end);
        if (!word.empty() && is_function_name(word)) return std::string(word);
    }
    return {};
}

}  // namespace ostrac::help
