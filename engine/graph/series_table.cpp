#include "graph/series_table.h"

namespace ostrac::graph {

namespace {

bool is_continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0U) == 0x80U; }
bool is_lead(char c) { return static_cast<unsigned char>(c) >= 0xC0U; }

}  // namespace

void Series::set_title(std::string_view name) {
    if (name.size() <= max_title_length) {
        title = name;
        return;
    }
    // The first byte left out continues a character: cut before that
    // character's lead byte, at most three bytes back, so the legend never
    // shows half a character. Bytes that are not UTF-8 are cut where they are.
    std::size_t cut = max_title_length;
    if (is_continuation(name[cut])) {
        std::size_t start = cut - 1;
        while (start + 3 > cut && start > 0 && is_continuation(name[start])) --start;
        if (is_lead(name[start])) cut = start;
    }
    title = name.substr(0, cut);
}

}  // namespace ostrac::graph
