#include "worker/tmythread.h"

#include <exception>

#include "session/session.h"

namespace ostrac::ui {

namespace {
// Steps run between two looks at the gate: the console waits for at most
// this many when it needs the session, a few microseconds of simple steps.
constexpr int steps_per_run = 1024;
}  // namespace

TMyThread::TMyThread(session::Session& session, WorkerGate& gate) : session_(session), gate_(gate) {}

TMyThread::~TMyThread() {
    if (!thread_.joinable()) return;
    gate_.request_stop();
    thread_.join();
}

void TMyThread::start() { thread_ = std::thread(&TMyThread::run, this); }

void TMyThread::request_break() { session_.run_state = session::RunState::BreakRequested; }

void TMyThread::run() {
    gate_.enter();
    while (gate_.between_steps()) {
        // The session reports its own errors; a fault that still escapes a
        // step is reported like a fatal error and the session starts afresh.
        try {
            session_.run(steps_per_run);
        } catch (const session::FatalError&) {
            session_.reset();
        } catch (const std::exception& e) {
            session_.report_exception(e);
            session_.reset();
        }
    }
    gate_.leave();
}

}  // namespace ostrac::ui
