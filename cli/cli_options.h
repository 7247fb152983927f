// Command line of the terminal front end:
//   ostrac-cli [OPTION]... [FILE]...
// The options are one table (in cli_options.cpp); parsing and the usage text
// are derived from it, so an option is added by adding its row.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "state/display_settings.h"

namespace ostrac::cli {

struct CliOptions {
    std::optional<std::string> home;  // set by --home
    std::vector<std::string> lines;   // from -e, in order
    std::vector<std::string> files;   // run as load "FILE"; "-" is standard input
    bool quiet = false;
    bool autosave = false;            // load autosave.bin at start, save it at the end
    state::DisplaySettings display;   // --digits and --notation
    bool show_help = false;
    bool show_version = false;
};

// Parses the arguments; on a mistake returns nothing and sets `error`.
std::optional<CliOptions> parse_cli_options(const std::vector<std::string>& args, std::string& error);

// The text of --help: every option of the table, FILE and the exit statuses.
std::string cli_usage();

}  // namespace ostrac::cli
