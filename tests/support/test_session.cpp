#include "support/test_session.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <stdexcept>

#include <unistd.h>

namespace ostrac::test {

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 1000; ++attempt) {
        auto candidate = base / ("ostrac-test-" + std::to_string(::getpid()) + "-" +
                                 std::to_string(counter++));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

TestSession::TestSession(const std::filesystem::path& startup_file)
    : session(std::make_unique<session::Session>(host)) {
    if (!startup_file.empty()) std::filesystem::copy_file(startup_file, home.path() / "data0.bin");
    std::array<std::string, session::Session::search_path_count> paths;
    paths[0] = home.path().string();
    session->init(paths);
    host.lines.clear();
}

void TestSession::load_program(const std::vector<std::uint8_t>& code) {
    auto& block = session->symbols[session::slot::PROC0].code;
    std::copy(code.begin(), code.end(), block.begin());
    session->symbols.note_code_written(session::slot::PROC0);
    session->enter_main_block();
    session->run_state = session::RunState::Running;
}

std::vector<std::string> TestSession::command(std::string_view line, int max_steps) {
    if (session->submit(line)) {
        const int suspends = host.suspends;
        for (int i = 0; i < max_steps && host.suspends == suspends; ++i) session->step();
    }
    return take_lines();
}

int TestSession::run(int max_steps) {
    int steps = 0;
    while (steps < max_steps && session->run_state == session::RunState::Running) {
        session->step();
        ++steps;
    }
    return steps;
}

std::vector<std::string> TestSession::take_lines() {
    std::vector<std::string> out;
    out.swap(host.lines);
    return out;
}

}  // namespace ostrac::test
