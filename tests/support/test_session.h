// An initialised session over a recording host and a temporary home folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "session/session.h"
#include "support/recording_host.h"

namespace ostrac::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

struct TestSession {
    // A fresh session; with `startup_file`, that file is its home folder's
    // data0.bin, which start-up loads.
    explicit TestSession(const std::filesystem::path& startup_file = {});

    // Copies hand-assembled code into PROC0 and starts it as a command.
    void load_program(const std::vector<std::uint8_t>& code);

    // Submits a line as the console's Enter key does and runs the session
    // until it asks its worker to wait; returns the pane lines printed.
    std::vector<std::string> command(std::string_view line, int max_steps = 10000000);

    // Steps until the session is no longer Running (or `max_steps` ran);
    // returns the number of steps taken.
    int run(int max_steps = 1000000);

    // Pane lines printed since the last call (start-up lines are dropped by
    // the constructor).
    std::vector<std::string> take_lines();

    // Runs an action that must stop with a fatal error; returns the last
    // line it printed, its report.
    template <class F>
    std::string fatal_report(F action) {
        take_lines();
        EXPECT_THROW(action(), session::FatalError);
        const std::vector<std::string> lines = take_lines();
        return lines.empty() ? std::string("<nothing printed>") : lines.back();
    }

    TempFolder home;
    RecordingHost host;
    std::unique_ptr<session::Session> session;
};

}  // namespace ostrac::test
