// A host that discards everything but the worker's parking, for benchmarks.
#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <string>

#include "session/session.h"

namespace ostrac::bench {

class NullHost : public state::Host {
public:
    void worker_suspend() override { suspended = true; }
    bool suspended = false;
};

// A session started in a home folder without a start-up file.
struct BenchSession {
    BenchSession() : session(host) {
        std::array<std::string, session::Session::search_path_count> paths;
        paths[0] = std::filesystem::temp_directory_path().string();
        session.init(paths);
    }
    // Submits a line and runs it to the end.
    void run(std::string_view line) {
        host.suspended = false;
        if (session.submit(line)) {
            while (!host.suspended) session.run(4096);
        }
    }
    NullHost host;
    session::Session session;
};

}  // namespace ostrac::bench
