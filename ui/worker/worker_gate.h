// The meeting point of the console (user-interface thread) and the worker
// thread that steps the session.
//
// Invariants, all guarded by one mutex:
//  - The worker is "at rest" while it waits in suspend(), waits at a step
//    boundary, or has not entered / has left its loop. Only then may another
//    thread touch the session; SessionAccess waits for that and keeps the
//    worker at rest until it is released.
//  - A resume only wakes a worker that is parked in suspend(). It is given
//    while the caller holds a SessionAccess, when the worker's place is known,
//    so no wake-up is lost and none is left over: a worker held at a step
//    boundary simply goes on stepping and reads the new run state itself.
//  - The worker checks `attention_` lock-free between steps; the lock is taken
//    only when a SessionAccess or a stop is pending.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace ostrac::session {
class Session;
}

namespace ostrac::ui {

class WorkerGate {
public:
    // Worker side.

    // The worker enters its loop; waits while a SessionAccess is held.
    void enter();
    // Between two steps: waits while a SessionAccess is held. Returns false
    // once a stop was requested.
    bool between_steps();
    // The session has nothing to run: park until resumed or stopped.
    void suspend();
    // The worker leaves its loop for good.
    void leave();

    // Any thread: ask the worker to leave its loop.
    void request_stop();

    // Exclusive use of the session by the calling thread, which must not be
    // the worker. The constructor blocks until the worker is at rest (at most
    // one step); the destructor lets it go on.
    class SessionAccess {
    public:
        SessionAccess(WorkerGate& gate, session::Session& session);
        ~SessionAccess();
        SessionAccess(const SessionAccess&) = delete;
        SessionAccess& operator=(const SessionAccess&) = delete;

        session::Session& session() { return session_; }
        // Wakes the worker, when it is suspended, once the access ends.
        void resume();

    private:
        WorkerGate& gate_;
        session::Session& session_;
    };

    // Whether the worker is parked in suspend() (for tests and diagnostics).
    bool suspended() const;
    // Blocks until the worker is parked in suspend() (for tests and
    // benchmarks, which would otherwise poll).
    void wait_until_suspended();

private:
    void update_attention();

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool at_rest_ = true;        // the worker is not inside a step
    bool parked_ = false;        // the worker waits in suspend()
    bool resume_ = false;        // a parked worker may go on
    bool access_held_ = false;   // a SessionAccess exists
    bool stopping_ = false;
    std::atomic<bool> attention_{false};  // access_held_ || stopping_
};

}  // namespace ostrac::ui
