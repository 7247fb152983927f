#include "quit_signals.h"

#include <csignal>

namespace ostrac::cli {

namespace {

using session::RunState;

static_assert(std::atomic<RunState>::is_always_lock_free, "stored from a signal handler");

volatile std::sig_atomic_t noted_signal = 0;
std::atomic<RunState>* break_target = nullptr;

void on_quit(int signal) {
    noted_signal = signal;
    // Only a running program is broken: an idle session stays quiet, and the
    // save at the end stops a paused program or a waiting INPUT itself.
    RunState running = RunState::Running;
    if (break_target != nullptr) break_target->compare_exchange_strong(running, RunState::BreakRequested);
}

}  // namespace

void catch_quit_signals(std::atomic<RunState>& run_state) {
    break_target = &run_state;
    struct sigaction action {};
    action.sa_handler = on_quit;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: a blocked read returns and the main loop looks
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

bool quit_signalled() { return noted_signal != 0; }

void end_by_quit_signal() {
    const int signal = noted_signal;
    if (signal == 0) return;
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

}  // namespace ostrac::cli
