// Command line of the terminal front end:
//   ostrac-cli [OPTION]... [FILE]...
// The options are one table (cli_option_table); parsing and the usage text
// are derived from it, so an option is added by adding its row.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ostrac::cli {

struct CliOptions {
    std::optional<std::string> home;  // set by --home
    std::vector<std::string> lines;   // from -e, in order
    std::vector<std::string> files;   // run as load "FILE"; "-" is standard input
    bool quiet = false;
    bool show_help = false;
    bool show_version = false;
};

struct CliOption {
    std::string_view short_name;  // "-e", or empty
    std::string_view long_name;   // "--home", or empty
    std::string_view value_name;  // "DIR"; empty for an option that takes no value
    std::string_view help;
    void (*apply)(CliOptions& options, std::string value);
};

extern const std::span<const CliOption> cli_option_table;

// Parses the arguments; on a mistake returns nothing and sets `error`.
std::optional<CliOptions> parse_cli_options(const std::vector<std::string>& args, std::string& error);

// The text of --help: every option of the table, FILE and the exit statuses.
std::string cli_usage();

}  // namespace ostrac::cli
