#include "cli_options.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace ostrac::cli {

namespace {

using state::DisplaySettings;
using state::Notation;

struct CliOption {
    std::string_view short_name;  // "-e", or empty
    std::string_view long_name;   // "--home", or empty
    std::string_view value_name;  // "DIR"; empty for an option that takes no value
    std::string_view help;
    // Takes the option (and its value); false when the value is not one the
    // option accepts, which `wanted` then describes.
    bool (*apply)(CliOptions& options, std::string value);
    std::string_view wanted = {};
};

bool set_digits(CliOptions& o, std::string text) {
    if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    const int digits = std::stoi(text);
    if (digits < DisplaySettings::min_digits || digits > DisplaySettings::max_digits) return false;
    o.display.digits = digits;
    return true;
}

bool set_notation(CliOptions& o, std::string text) {
    static constexpr std::array<std::pair<std::string_view, Notation>, 4> names{{
        {"auto", Notation::Automatic},
        {"fix", Notation::Fixed},
        {"sci", Notation::Scientific},
        {"eng", Notation::Engineering},
    }};
    for (const auto& [name, notation] : names) {
        if (text == name) {
            o.display.notation = notation;
            return true;
        }
    }
    return false;
}

constexpr std::array options{
    CliOption{"-e", "", "LINE", "submit LINE as if typed at the console (may be repeated)",
              [](CliOptions& o, std::string v) {
                  o.lines.push_back(std::move(v));
                  return true;
              }},
    CliOption{"-q", "--quiet", "", "no greeting and no \">> line\" echo: only what programs print and errors",
              [](CliOptions& o, std::string) {
                  o.quiet = true;
                  return true;
              }},
    CliOption{"", "--home", "DIR", "home folder for state files and LOAD (default: the per-user data folder)",
              [](CliOptions& o, std::string v) {
                  o.home = std::move(v);
                  return true;
              }},
    CliOption{"", "--autosave", "", "load autosave.bin of the home folder at start and save the session into it "
                                    "at the end",
              [](CliOptions& o, std::string) {
                  o.autosave = true;
                  return true;
              }},
    CliOption{"", "--digits", "N", "significant digits of reals shown, 1 to 17 (default 10)", set_digits,
              "a whole number from 1 to 17"},
    CliOption{"", "--notation", "NAME", "how numbers are shown: auto (default), fix, sci or eng", set_notation,
              "auto, fix, sci or eng"},
    CliOption{"-h", "--help", "", "show this text and exit",
              [](CliOptions& o, std::string) {
                  o.show_help = true;
                  return true;
              }},
    CliOption{"", "--version", "", "show the version and exit",
              [](CliOptions& o, std::string) {
                  o.show_version = true;
                  return true;
              }},
};

// The row an argument names: "-e", "--home" or "--home=DIR" (the value after
// '=' goes to `inline_value`).
const CliOption* find_option(std::string_view arg, std::optional<std::string>& inline_value) {
    if (arg.starts_with("--")) {
        if (const std::size_t eq = arg.find('='); eq != std::string_view::npos) {
            inline_value = std::string(arg.substr(eq + 1));
            arg = arg.substr(0, eq);
        }
    }
    const auto row = std::find_if(options.begin(), options.end(), [&](const CliOption& o) {
        return arg == o.short_name || arg == o.long_name;
    });
    return row == options.end() ? nullptr : &*row;
}

}  // namespace

std::optional<CliOptions> parse_cli_options(const std::vector<std::string>& args, std::string& error) {
    CliOptions parsed;
    bool only_files = false;  // after "--"
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (only_files || arg == "-" || !arg.starts_with("-")) {
            parsed.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            only_files = true;
            continue;
        }
        std::optional<std::string> value;
        const CliOption* option = find_option(arg, value);
        if (option == nullptr) {
            error = "unknown option " + arg;
            return std::nullopt;
        }
        const std::string name(option->long_name.empty() ? option->short_name : option->long_name);
        if (option->value_name.empty() && value) {
            error = "option " + name + " takes no value";
            return std::nullopt;
        }
        if (!option->value_name.empty() && !value) {
            if (i + 1 >= args.size()) {
                error = "option " + arg + " needs a value";
                return std::nullopt;
            }
            value = args[++i];
        }
        if (!option->apply(parsed, value.value_or(""))) {
            error = "option " + name + " needs " + std::string(option->wanted);
            return std::nullopt;
        }
    }
    return parsed;
}

std::string cli_usage() {
    std::string text = "usage: ostrac-cli [OPTION]... [FILE]...\n";
    for (const CliOption& o : options) {
        std::string names = o.short_name.empty() ? "    " : std::string(o.short_name);
        if (!o.short_name.empty() && !o.long_name.empty()) names += ", ";
        names += o.long_name;
        if (!o.value_name.empty()) names += " " + std::string(o.value_name);
        names.resize(std::max<std::size_t>(names.size() + 2, 18), ' ');
        text += "  " + names + std::string(o.help) + "\n";
    }
    text +=
        "  FILE              run the program file (load \"FILE\"); a first line starting with #! is skipped;\n"
        "                    - reads the program from standard input\n"
        "Without -e or FILE, lines are read from standard input (edited, with history and\n"
        "completion, on a terminal).\n"
        "Exit status: 0 when every line and file ran without an error report, 1 when one did\n"
        "not, 2 for a usage error (a bad option, a FILE that cannot be opened).\n";
    return text;
}

}  // namespace ostrac::cli
