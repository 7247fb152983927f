// Where the line editor keeps the lines typed at the terminal: a text file,
// one line each, the oldest first.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace ostrac::cli {

// $XDG_STATE_HOME/ostrac/cli_history, else ~/.local/state/ostrac/cli_history.
std::filesystem::path history_file_path();

// The lines of the file; none when there is no file yet.
std::vector<std::string> read_history_file(const std::filesystem::path& file);

// Replaces `file` with `lines` safely (another ostrac-cli ending at the same
// time, or a crash, leaves one whole version), creating its missing folders
// readable by the user alone. "" when done, else why not.
std::string write_history_file(const std::filesystem::path& file, const std::vector<std::string>& lines);

}  // namespace ostrac::cli
