// Tab at the terminal: the function name being typed, completed from the
// names the console's entry field offers (built-ins and the help table).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ostrac::cli {

struct NameCompletion {
    std::size_t replaced = 0;             // characters before the cursor that `text` replaces
    std::string text;                     // empty: nothing to complete
    std::vector<std::string> candidates;  // listed when several names remain and none is longer
};

// Completes the name that ends at the end of `before_cursor`: the one name
// that fits, or else as far as all the fitting names agree.
NameCompletion complete_name(std::string_view before_cursor);

}  // namespace ostrac::cli
