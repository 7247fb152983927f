// ostrac-cli: the calculator on a terminal or in a pipe. Each input line is
// submitted as the console's Enter key submits it; the session then runs
// until it is idle or paused again.
#include <unistd.h>

#include <array>
#include <atomic>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cli_options.h"
#include "file_arguments.h"
#include "history_file.h"
#include "line_editor.h"
#include "quit_signals.h"
#include "session/autosave.h"
#include "session/home_folder.h"
#include "session/session.h"
#include "terminal_host.h"

namespace {

using ostrac::cli::TerminalHost;
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

// The engine and what the front end adds to it.
struct Calculator {
    TerminalHost& host;
    Session& session;
    bool unknown_command = false;  // a ':' line that names no command

    // Runs the session until it asks its worker to wait.
    void run_until_suspended() {
        host.take_suspended();
        while (!host.take_suspended()) session.run(steps_per_run);
    }

    void submit(const std::string& line) {
        if (start(line)) run_until_suspended();
    }

    // Hands `line` to the session; true when it has a command to run.
    bool start(const std::string& line) {
        run_until_suspended();  // a Break pressed at the prompt is honoured first
        // No statement starts with ':', so such a line is a front-end command.
        if (!line.empty() && line[0] == ':') {
            state_command(line);
            return false;
        }
        return session.submit(line);
    }

    // The console's Save and Load buttons: the engine state in data.bin of
    // the home folder (a terminal has no pane to keep).
    void state_command(const std::string& line) {
        if (line == ":save") {
            session.save_state();
        } else if (line == ":load") {
            session.load_state();
        } else {
            session.console_print("Unknown command " + line + " (:save or :load)\n");
            unknown_command = true;
        }
    }

    // 0 when every line ran without an error report, else 1.
    int exit_status() const { return session.failed_commands() > 0 || unknown_command ? 1 : 0; }
};

// Lines typed at a terminal, edited and kept in the history.
void read_terminal(Calculator& calculator) {
    std::setlocale(LC_CTYPE, "");  // characters as the terminal sends them
    ostrac::cli::LineEditor editor(ostrac::cli::history_file_path());
    while (!ostrac::cli::quit_signalled()) {
        calculator.run_until_suspended();
        const auto line = editor.read_line(calculator.host.prompt() + " ");
        if (!line) break;
        const bool started = calculator.start(*line);
        editor.release_interrupt();  // a Ctrl-C since Enter breaks what started
        if (started) calculator.run_until_suspended();
    }
    std::fputc('\n', stdout);
    if (const std::string error = editor.save_history(); !error.empty()) {
        std::fprintf(stderr, "ostrac-cli: cannot save the history in %s: %s\n",
                     ostrac::cli::history_file_path().c_str(), error.c_str());
    }
}

// The end of the session, however it came: the input exhausted, Ctrl-D, or
// a quit signal noted by the main loop.
int finish(Calculator& calculator, bool autosave) {
    if (autosave) ostrac::session::save_autosave_at_quit(calculator.session);
    ostrac::cli::end_by_quit_signal();
    return calculator.exit_status();
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options =
        ostrac::cli::parse_cli_options(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::fprintf(stderr, "ostrac-cli: %s\n%s", error.c_str(), ostrac::cli::cli_usage().c_str());
        return 2;
    }
    if (options->show_help) {
        std::fputs(ostrac::cli::cli_usage().c_str(), stdout);
        return 0;
    }
    if (options->show_version) {
        std::puts("ostrac-cli " OSTRAC_VERSION);
        return 0;
    }

    // A home folder given with --home is used as it is; the per-user one is
    // created and furnished on first start.
    const std::string home =
        options->home ? *options->home : ostrac::session::default_home_folder().string();
    bool files_found = true;
    for (const std::string& file : options->files) {
        const std::string failure = ostrac::cli::open_failure(ostrac::cli::load_name(file), home);
        if (failure.empty()) continue;
        std::fprintf(stderr, "ostrac-cli: cannot open %s: %s\n", file.c_str(), failure.c_str());
        files_found = false;
    }
    if (!files_found) return 2;
    if (!options->home &&
        !ostrac::session::install_home_files(home, ostrac::session::shared_data_folder(), error)) {
        std::fprintf(stderr, "ostrac-cli: %s\n", error.c_str());
        return 1;
    }

    const bool interactive = ::isatty(STDIN_FILENO) && ::isatty(STDOUT_FILENO);
    TerminalHost host(stdout, interactive);
    Session session(host);
    session.quiet = options->quiet;
    std::array<std::string, Session::search_path_count> paths;
    paths[0] = home;
    session.init(paths);
    session.display = options->display;
    if (options->autosave) {
        ostrac::session::load_autosave(session);
        ostrac::cli::catch_quit_signals(session.run_state);
    }
    Calculator calculator{host, session};

    break_target = &session.run_state;
    std::signal(SIGINT, on_interrupt);

    for (const std::string& line : options->lines) {
        if (ostrac::cli::quit_signalled()) break;
        calculator.submit(line);
    }
    for (const std::string& file : options->files) {
        if (ostrac::cli::quit_signalled()) break;
        calculator.submit("load \"" + ostrac::cli::load_name(file) + "\"");
    }
    if (!options->lines.empty() || !options->files.empty()) return finish(calculator, options->autosave);

    if (interactive) {
        read_terminal(calculator);
    } else {
        std::string line;
        while (!ostrac::cli::quit_signalled() && std::getline(std::cin, line)) calculator.submit(line);
    }
    return finish(calculator, options->autosave);
}
