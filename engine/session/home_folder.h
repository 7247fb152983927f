// Where the calculator keeps its files. The home folder holds the state
// files, the start-up library (data0.bin), the tutorial and the help file.
// The programs carry pristine copies of the last three in their shared data
// folder and put them into the per-user home folder on first start.
#pragma once

#include <filesystem>
#include <string>

namespace ostrac::session {

// The per-user data folder: $XDG_DATA_HOME/ostrac, else ~/.local/share/ostrac.
std::filesystem::path default_home_folder();

// The shared data folder of the running program: share/ostrac beside the
// folder of the executable (in a build tree and in an installed prefix).
std::filesystem::path shared_data_folder();

// The files installed into a new home folder.
inline constexpr const char* home_files[] = {"data0.bin", "tutorial", "ostrac.html"};

// Creates `home` if need be and copies each of `home_files` that is missing
// there from `shared`. Never overwrites a file. Returns false, with a
// message in `error`, when the folder cannot be created.
bool install_home_files(const std::filesystem::path& home, const std::filesystem::path& shared,
                        std::string& error);

}  // namespace ostrac::session
