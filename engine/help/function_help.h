// The help table of the functions a user can call: the built-ins and the
// functions of the start-up library, each with its syntax, a description and
// up to five parameters. The function wizard shows it and composes calls from
// it; the console's entry field completes names and shows syntaxes from it.
#pragma once

#include <array>
#include <span>
#include <string_view>
#include <vector>

namespace ostrac::help {

struct HelpParameter {
    std::string_view name;  // caption of the field; empty: not offered
    std::string_view description;
    bool quoted = false;  // a string: the field text is written between double quotes
};

inline constexpr int max_parameters = 5;

struct HelpEntry {
    int id;                 // key of the wizard's tree nodes; ids are positive
    std::string_view name;  // written into the call; a trailing blank is kept
    std::string_view syntax;
    std::string_view description;
    std::array<HelpParameter, max_parameters> parameters;

    // The named parameters, which come first and are the ones a call takes.
    constexpr int parameter_count() const {
        int count = 0;
        for (const HelpParameter& p : parameters) count += p.name.empty() ? 0 : 1;
        return count;
    }
    // The name without its trailing blanks: the name the engine resolves.
    constexpr std::string_view call_name() const { return name.substr(0, name.find_last_not_of(' ') + 1); }
};

// Every entry, in table order (73 entries).
std::span<const HelpEntry> help_entries();

// The first entry with this id; nullptr when there is none.
const HelpEntry* find_help(int id);

// The entries whose call name equals name, ignoring the case of A to Z, in
// table order (a name can have more than one, as "abs" has).
std::vector<const HelpEntry*> find_help_by_name(std::string_view name);

// The id of the unit conversion entry, whose parameters the wizard's
// converter panel fills.
inline constexpr int converter_entry_id = 70;

}  // namespace ostrac::help
