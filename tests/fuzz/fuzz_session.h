// What every fuzz target shares: a session over a host that discards its
// output, in a private home folder, so that programs writing files (savedata,
// the state file) write them there and nowhere else.
#pragma once

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

#include "bench_host.h"
#include "session/session.h"

namespace ostrac::fuzz {

// The home folder of the process, created once and removed at exit. The
// working directory stays as it is: libFuzzer reads its corpus by relative
// names.
struct FuzzHome {
    FuzzHome() : path((std::filesystem::temp_directory_path() / "ostrac-fuzz-XXXXXX").string()) {
        if (mkdtemp(path.data()) == nullptr) std::abort();
    }
    ~FuzzHome() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

inline const std::string& fuzz_home() {
    static const FuzzHome home;
    return home.path;
}

// A freshly initialised session: every input starts from the same state.
struct FuzzSession {
    FuzzSession() : session(host) {
        std::array<std::string, session::Session::search_path_count> paths;
        paths[0] = fuzz_home();
        session.init(paths);
    }
    bench::NullHost host;
    session::Session session;
};

// Runs at most `max_steps` steps of the command just submitted; then presses
// Break, as a user would, and lets the session honour it.
inline void run_bounded(session::Session& s, bench::NullHost& host, int max_steps) {
    host.suspended = false;
    int steps = 0;
    while (!host.suspended && steps < max_steps) {
        s.run(1000);
        steps += 1000;
    }
    if (host.suspended) return;
    s.run_state = session::RunState::BreakRequested;
    host.suspended = false;
    s.step();
    if (s.run_state != session::RunState::Idle) std::abort();
}

inline std::string_view as_text(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace ostrac::fuzz
