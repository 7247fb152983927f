// Command line of the terminal front end:
//   ostrac-cli [--home DIR] [--autosave] [--digits N] [--notation auto|fix|sci|eng] [-e LINE]... [FILE]...
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "state/display_settings.h"

namespace ostrac::cli {

struct CliOptions {
    std::optional<std::string> home;  // set by --home
    std::vector<std::string> lines;   // from -e, in order
    std::vector<std::string> files;   // run as load "FILE"
    bool autosave = false;            // load autosave.bin at start, save it at the end
    state::DisplaySettings display;   // --digits and --notation
    bool show_help = false;
};

// Parses the arguments; on a mistake returns nothing and sets `error`.
std::optional<CliOptions> parse_cli_options(const std::vector<std::string>& args, std::string& error);

extern const char* const cli_usage;

}  // namespace ostrac::cli
