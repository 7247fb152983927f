// The FILE arguments of the command line, run as LOAD runs a program file.
// They are checked before anything runs, so that a wrong name is a usage
// error and not a report halfway through.
#pragma once

#include <filesystem>
#include <string>

namespace ostrac::cli {

// The name LOAD is given for a FILE argument: "-" is standard input.
std::string load_name(const std::string& file);

// Why LOAD could not open `name`, tried as LOAD tries it: as given, then in
// the home folder. "" when it can.
std::string open_failure(const std::string& name, const std::filesystem::path& home);

}  // namespace ostrac::cli
