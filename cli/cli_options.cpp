#include "cli_options.h"

#include <array>
#include <string_view>
#include <utility>

namespace ostrac::cli {

const char* const cli_usage =
    "usage: ostrac-cli [--home DIR] [--autosave] [--digits N] [--notation auto|fix|sci|eng] [-e LINE]... "
    "[FILE]...\n"
    "  --home DIR       home folder for state files and LOAD (default: the per-user data folder)\n"
    "  --autosave       load autosave.bin of the home folder at start and save the session into it at the end\n"
    "  --digits N       significant digits of reals shown, 1 to 17 (default 10)\n"
    "  --notation NAME  how numbers are shown: auto (default), fix, sci or eng\n"
    "  -e LINE          submit LINE as if typed at the console (may be repeated)\n"
    "  FILE             run the program file (load \"FILE\")\n"
    "Without -e or FILE, lines are read from standard input.\n";

namespace {

using state::DisplaySettings;
using state::Notation;

bool parse_digits(const std::string& text, DisplaySettings& display) {
    if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    const int digits = std::stoi(text);
    if (digits < DisplaySettings::min_digits || digits > DisplaySettings::max_digits) return false;
    display.digits = digits;
    return true;
}

bool parse_notation(const std::string& text, DisplaySettings& display) {
    static constexpr std::array<std::pair<std::string_view, Notation>, 4> names{{
        {"auto", Notation::Automatic},
        {"fix", Notation::Fixed},
        {"sci", Notation::Scientific},
        {"eng", Notation::Engineering},
    }};
    for (const auto& [name, notation] : names) {
        if (text == name) {
            display.notation = notation;
            return true;
        }
    }
    return false;
}

}  // namespace

std::optional<CliOptions> parse_cli_options(const std::vector<std::string>& args, std::string& error) {
    CliOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const std::string name = arg.substr(0, arg.find('='));
        if (arg == "--home" || arg == "-e") {
            if (i + 1 >= args.size()) {
                error = "option " + arg + " needs a value";
                return std::nullopt;
            }
            (arg == "--home" ? options.home.emplace() : options.lines.emplace_back()) = args[++i];
        } else if (arg.rfind("--home=", 0) == 0) {
            options.home = arg.substr(7);
        } else if (name == "--digits" || name == "--notation") {
            std::string value;
            if (name.size() < arg.size()) {
                value = arg.substr(name.size() + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                error = "option " + arg + " needs a value";
                return std::nullopt;
            }
            if (name == "--digits" && !parse_digits(value, options.display)) {
                error = "option --digits needs a whole number from 1 to 17";
                return std::nullopt;
            }
            if (name == "--notation" && !parse_notation(value, options.display)) {
                error = "option --notation needs auto, fix, sci or eng";
                return std::nullopt;
            }
        } else if (arg == "--autosave") {
            options.autosave = true;
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
