// Helpers of the tests that drive the console window.
#pragma once

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <algorithm>

#include "console/tform1.h"
#include "session/session.h"

namespace ostrac::ui::test {

// Waits until the session no longer runs (a Break has been honoured) and the
// worker is at rest, then applies everything the engine queued; false when
// that takes longer than `timeout_ms`.
inline bool wait_until_idle(TForm1& form, int timeout_ms = 20000) {
    using session::RunState;
    QElapsedTimer timer;
    timer.start();
    while (form.run_state() == RunState::Running || form.run_state() == RunState::BreakRequested) {
        if (timer.elapsed() > timeout_ms) return false;
        QTest::qWait(1);
    }
    { auto access = form.session_access(); }
    form.drain_events();
    return true;
}

// A timer that should fire every 5 ms, measuring how long the window's event
// loop is ever kept busy between start() and stop().
class EventLoopGaps {
public:
    EventLoopGaps() {
        QObject::connect(&ticker_, &QTimer::timeout, [this] {
            const qint64 now = clock_.elapsed();
            longest_ = std::max(longest_, now - last_);
            last_ = now;
        });
    }
    void start() {
        clock_.start();
        ticker_.start(5);
    }
    void stop() { ticker_.stop(); }
    qint64 longest() const { return longest_; }
    qint64 elapsed() const { return clock_.elapsed(); }

private:
    QElapsedTimer clock_;
    QTimer ticker_;
    qint64 last_ = 0;
    qint64 longest_ = 0;
};

}  // namespace ostrac::ui::test
