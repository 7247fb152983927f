#include "name_completion.h"

#include "code/names.h"
#include "help/function_names.h"

namespace ostrac::cli {

NameCompletion complete_name(std::string_view before_cursor) {
    const std::size_t start = help::word_start(before_cursor, before_cursor.size());
    const std::string_view prefix = before_cursor.substr(start);
    NameCompletion completion;
    if (prefix.empty()) return completion;
    std::vector<std::string> names = help::names_starting_with(prefix);
    if (names.empty()) return completion;

    // The part every name shares, ignoring case, spelt as the first name.
    std::size_t shared = names.front().size();
    for (const std::string& name : names) {
        std::size_t i = prefix.size();
        while (i < shared && i < name.size() && code::fold_ascii(name[i]) == code::fold_ascii(names.front()[i])) ++i;
        shared = i;
    }
    completion.replaced = prefix.size();
    completion.text = names.front().substr(0, shared);
    if (names.size() > 1 && shared == prefix.size()) completion.candidates = std::move(names);
    return completion;
}

}  // namespace ostrac::cli
