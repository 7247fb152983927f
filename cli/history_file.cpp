#include "history_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "files/file_replacement.h"

namespace ostrac::cli {

namespace fs = std::filesystem;

fs::path history_file_path() {
    if (const char* xdg = std::getenv("XDG_STATE_HOME"); xdg != nullptr && *xdg != '\0') {
        return fs::path(xdg) / "ostrac" / "cli_history";
    }
    const char* home = std::getenv("HOME");
    return fs::path(home != nullptr && *home != '\0' ? home : ".") / ".local" / "state" / "ostrac" / "cli_history";
}

std::vector<std::string> read_history_file(const fs::path& file) {
    std::vector<std::string> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) lines.push_back(std::move(line));
    return lines;
}

std::string write_history_file(const fs::path& file, const std::vector<std::string>& lines) {
    // Mode 0700, as the base directory rules ask of the folders they create.
    fs::path folder;
    for (const fs::path& part : file.parent_path()) {
        folder /= part;
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
            return "cannot create " + folder.string() + ": " + std::strerror(errno);
        }
    }
    std::string text;
    for (const std::string& line : lines) text += line + '\n';
    return files::replace_file(file, text);
}

}  // namespace ostrac::cli
