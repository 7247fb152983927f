// ostrac-cli: the calculator on a terminal or in a pipe. Each input line is
// submitted as the console's Enter key submits it; the session then runs
// until it is idle or paused again.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>

#include "cli_options.h"
#include "quit_signals.h"
#include "session/autosave.h"
#include "session/home_folder.h"
#include "session/session.h"
#include "terminal_host.h"

namespace {

using ostrac::session::RunState;
using ostrac::session::Session;

// The session Ctrl-C breaks; only read by the signal handler.
std::atomic<RunState>* break_target = nullptr;

void on_interrupt(int) {
    if (break_target != nullptr) break_target->store(RunState::BreakRequested);
}

// Steps run in one call: enough to make the call's cost vanish, few enough
// for a Ctrl-C to be seen at once (it is checked between any two steps).
constexpr int steps_per_run = 4096;

// Runs the session until it asks its worker to wait.
void run_until_suspended(Session& session, ostrac::cli::TerminalHost& host) {
    host.take_suspended();
    while (!host.take_suspended()) session.run(steps_per_run);
}

// The console's Save and Load buttons: the engine state in data.bin of the
// home folder (a terminal has no pane to keep).
void state_command(Session& session, const std::string& line) {
    if (line == ":save") {
        session.save_state();
    } else if (line == ":load") {
        session.load_state();
    } else {
        session.console_print("Unknown command " + line + " (:save or :load)\n");
    }
}

void submit(Session& session, ostrac::cli::TerminalHost& host, const std::string& line) {
    run_until_suspended(session, host);  // a Break pressed at the prompt is honoured first
    // No statement starts with ':', so such a line is a front-end command.
    if (!line.empty() && line[0] == ':') {
        state_command(session, line);
        return;
    }
    if (session.submit(line)) run_until_suspended(session, host);
}

// The end of the session, however it came: the input exhausted, Ctrl-D, or
// a quit signal noted by the main loop.
int finish(Session& session, bool autosave) {
    if (autosave) ostrac::session::save_autosave_at_quit(session);
    ostrac::cli::end_by_quit_signal();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options =
        ostrac::cli::parse_cli_options(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::fprintf(stderr, "ostrac-cli: %s\n%s", error.c_str(), ostrac::cli::cli_usage);
        return 2;
    }
    if (options->show_help) {
        std::fputs(ostrac::cli::cli_usage, stdout);
        return 0;
    }

    // A home folder given with --home is used as it is; the per-user one is
    // created and furnished on first start.
    std::string home;
    if (options->home) {
        home = *options->home;
    } else {
        home = ostrac::session::default_home_folder().string();
        if (!ostrac::session::install_home_files(home, ostrac::session::shared_data_folder(), error)) {
            std::fprintf(stderr, "ostrac-cli: %s\n", error.c_str());
            return 1;
        }
    }

    const bool interactive = ::isatty(STDIN_FILENO) && ::isatty(STDOUT_FILENO);
    ostrac::cli::TerminalHost host(stdout, interactive);
    Session session(host);
    std::array<std::string, Session::search_path_count> paths;
    paths[0] = home;
    session.init(paths);
    session.display = options->display;
    if (options->autosave) {
        ostrac::session::load_autosave(session);
        ostrac::cli::catch_quit_signals(session.run_state);
    }

    break_target = &session.run_state;
    std::signal(SIGINT, on_interrupt);

    std::vector<std::string> given = options->lines;
    for (const std::string& file : options->files) given.push_back("load \"" + file + "\"");
    for (const std::string& line : given) {
        if (ostrac::cli::quit_signalled()) break;
        submit(session, host, line);
    }
    if (!given.empty()) return finish(session, options->autosave);

    std::string line;
    for (;;) {
        if (interactive) {
            run_until_suspended(session, host);
            std::fputs((host.prompt() + " ").c_str(), stdout);
            std::fflush(stdout);
        }
        if (ostrac::cli::quit_signalled() || !std::getline(std::cin, line)) break;
        submit(session, host, line);
    }
    if (interactive) std::fputc('\n', stdout);
    return finish(session, options->autosave);
}
