#include "terminal_host.h"

namespace ostrac::cli {

void TerminalHost::pane_add_line(std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), out_);
    std::fputc('\n', out_);
    std::fflush(out_);
}

void TerminalHost::clear_console() {
    // A pipe keeps everything; a terminal clears its screen.
    if (!interactive_) return;
    std::fputs("\033[H\033[2J", out_);
    std::fflush(out_);
}

}  // namespace ostrac::cli
