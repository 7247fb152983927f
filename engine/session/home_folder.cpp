#include "session/home_folder.h"

#include <cstdlib>
#include <system_error>

namespace ostrac::session {

namespace fs = std::filesystem;

fs::path default_home_folder() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg != '\0') {
        return fs::path(xdg) / "ostrac";
    }
    const char* home = std::getenv("HOME");
    return fs::path(home != nullptr && *home != '\0' ? home : ".") / ".local" / "share" / "ostrac";
}

fs::path shared_data_folder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return exe.parent_path().parent_path() / "share" / "ostrac";
}

bool install_home_files(const fs::path& home, const fs::path& shared, std::string& error) {
    std::error_code ec;
    fs::create_directories(home, ec);
    if (ec) {
        error = "cannot create " + home.string() + ": " + ec.message();
        return false;
    }
    for (const char* name : home_files) {
        const fs::path target = home / name;
        if (fs::exists(target, ec) || !fs::exists(shared / name, ec)) continue;
        fs::copy_file(shared / name, target, fs::copy_options::skip_existing, ec);
    }
    return true;
}

}  // namespace ostrac::session
