#include "cli_options.h"

namespace ostrac::cli {

const char* const cli_usage =
    "usage: ostrac-cli [--home DIR] [-e LINE]... [FILE]...\n"
    "  --home DIR  home folder for state files and LOAD (default: the per-user data folder)\n"
    "  -e LINE     submit LINE as if typed at the console (may be repeated)\n"
    "  FILE        run the program file (load \"FILE\")\n"
    "Without -e or FILE, lines are read from standard input.\n";

std::optional<CliOptions> parse_cli_options(const std::vector<std::string>& args, std::string& error) {
    CliOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--home" || arg == "-e") {
            if (i + 1 >= args.size()) {
                error = "option " + arg + " needs a value";
                return std::nullopt;
            }
            (arg == "--home" ? options.home.emplace() : options.lines.emplace_back()) = args[++i];
        } else if (arg.rfind("--home=", 0) == 0) {
            options.home = arg.substr(7);
        } else if (arg == "-h" || arg == "--help") {
            options.show_help = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return std::nullopt;
        } else {
            options.files.push_back(arg);
        }
    }
    return options;
}

}  // namespace ostrac::cli
