// Function names as the console's entry field offers them: the built-ins and
// the functions of the help table, and the function a caret stands in.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ostrac::help {

// Every built-in name and every help-table name, once each ignoring case
// (the help table's spelling wins), sorted ignoring case.
std::vector<std::string> function_names();

// Whether the name is a built-in or in the help table (case ignored).
bool is_function_name(std::string_view name);

// The names that start with prefix, ignoring case, in function_names order.
std::vector<std::string> names_starting_with(std::string_view prefix);

// Where the identifier that ends at the caret begins (the caret itself when
// no identifier ends there).
std::size_t word_start(std::string_view text, std::size_t caret);

// The function being typed at the caret: the function name the caret touches,
// or else the function whose argument list the caret stands in (the
// innermost parenthesis still open before it, strings skipped). Empty when
// neither names a function.
std::string function_at(std::string_view text, std::size_t caret);

}  // namespace ostrac::help
