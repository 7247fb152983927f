// Builds the start-up state file: runs the library's program files in a
// fresh session and saves the state they leave. Any output other than the
// echo of the commands (and the table's growth notice) means the library is
// broken, and the build fails.
//
//   ostrac-mkstate OUTPUT FILE...
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <unistd.h>

#include "session/session.h"

namespace {

namespace fs = std::filesystem;

class CollectingHost : public ostrac::state::Host {
public:
    void pane_add_line(std::string_view line) override { lines.emplace_back(line); }
    void worker_suspend() override { suspended = true; }

    std::vector<std::string> lines;
    bool suspended = false;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: ostrac-mkstate OUTPUT FILE...\n", stderr);
        return 2;
    }
    const fs::path output = fs::absolute(argv[1]);
    const fs::path work = fs::temp_directory_path() / ("ostrac-mkstate-" + std::to_string(::getpid()));
    std::error_code ec;
    fs::create_directories(work, ec);

    CollectingHost host;
    ostrac::session::Session session(host);
    std::array<std::string, ostrac::session::Session::search_path_count> paths;
    paths[0] = work.string();
    session.init(paths);
    host.lines.clear();  // the greeting, and no start-up file yet

    int status = 0;
    for (int i = 2; i < argc && status == 0; ++i) {
        const std::string command = "load \"" + fs::absolute(argv[i]).string() + "\"";
        host.suspended = false;
        if (session.submit(command)) {
            while (!host.suspended) session.step();
        }
        for (const std::string& line : host.lines) {
            if (line == ">> " + command || line == "Alocated New Space For Vars") continue;
            std::fprintf(stderr, "%s: %s\n", argv[i], line.c_str());
            status = 1;
        }
        host.lines.clear();
    }

    if (status == 0) {
        if (session.save_state() == ostrac::session::Session::StateFileOutcome::Done) {
            fs::create_directories(output.parent_path(), ec);
            fs::copy_file(work / "data.bin", output, fs::copy_options::overwrite_existing, ec);
            if (ec) {
                std::fprintf(stderr, "cannot write %s: %s\n", output.c_str(), ec.message().c_str());
                status = 1;
            }
        } else {
            for (const std::string& line : host.lines) std::fprintf(stderr, "%s\n", line.c_str());
            status = 1;
        }
    }
    fs::remove_all(work, ec);
    return status;
}
