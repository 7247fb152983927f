// The text of a call composed from a help entry and the texts of its
// parameter fields, as the function wizard writes it into the console.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "help/function_help.h"

namespace ostrac::help {

// The entry's name (trailing blank kept); then, for an entry with parameters,
// "( ", the field texts separated by "," and ")". A quoted parameter's text is
// written between double quotes as it stands. A factor other than "" and "1"
// is written first, followed by "*"; a factor that is more than one number or
// name is put in parentheses so that all of it multiplies. Fields beyond the
// parameter count are ignored; missing fields count as empty.
std::string compose_call(const HelpEntry& entry, std::span<const std::string> fields, std::string_view factor = {});

}  // namespace ostrac::help
