// The worker thread: steps the session in a loop for the whole run of the
// program. It parks itself (through the host's worker_suspend and the gate)
// whenever the session has nothing to run, so an idle calculator uses no
// processor time, and it holds still between two steps whenever the console
// takes a SessionAccess.
#pragma once

#include <thread>

#include "worker/worker_gate.h"

namespace ostrac::session {
class Session;
}

namespace ostrac::ui {

class TMyThread {
public:
    TMyThread(session::Session& session, WorkerGate& gate);
    // Stops the loop after the current step and joins the thread.
    ~TMyThread();
    TMyThread(const TMyThread&) = delete;
    TMyThread& operator=(const TMyThread&) = delete;

    // Starts the loop; the session must have been initialised.
    void start();

    // Exclusive use of the session from another thread.
    WorkerGate::SessionAccess access() { return {gate_, session_}; }

    // The Break button: the one write another thread may make while a step
    // runs, so that a long built-in sees it between its blocks of work
    // instead of the console waiting for the step to end.
    void request_break();

private:
    void run();

    session::Session& session_;
    WorkerGate& gate_;
    std::thread thread_;
};

}  // namespace ostrac::ui
