// Helpers of the tests that drive the console window.
#pragma once

#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <ctime>
#include <memory>

#include "console/entry_field.h"
#include "console/output_pane.h"
#include "console/tform1.h"
#include "session/session.h"
#include "ui_test_support.h"

namespace ostrac::ui::test {

// Waits until the session no longer runs (a Break has been honoured), the
// window has applied the engine's output and the worker is at rest, then
// applies anything still queued; false when that takes longer than
// `timeout_ms`.
inline bool wait_until_idle(TForm1& form, int timeout_ms = 20000) {
    using session::RunState;
    QElapsedTimer timer;
    timer.start();
    while (form.run_state() == RunState::Running || form.run_state() == RunState::BreakRequested ||
           form.polling()) {
        if (timer.elapsed() > timeout_ms) return false;
        QTest::qWait(1);
    }
    { auto access = form.session_access(); }
    form.drain_events();
    return true;
}

// A started console window over temporary folders, with its controls.
struct Console {
    Console() {
        folders.store_defaults_with_home();
        open();
    }

    // Quits as the user does, by closing the window, and starts the program
    // again over the same folders.
    void restart() {
        form->close();
        form.reset();
        open();
    }

    void open() {
        form = std::make_unique<TForm1>();
        memo = form->findChild<OutputPane*>("Memo1");
        edit = form->findChild<EntryField*>("Edit1");
        panel = form->findChild<QWidget*>("Panel1");
        prompt = form->findChild<QLabel*>("LEntry");
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get())) qFatal("the console window was not shown");
        form->start();
        wait_idle();
    }

    template <class Widget>
    Widget* control(const char* name) const {
        return panel->findChild<Widget*>(name);
    }

    bool wait_idle(int timeout_ms = 20000) { return wait_until_idle(*form, timeout_ms); }

    void type(const QString& line) {
        edit->setText(line);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    // Types a line, runs it to the end and returns the pane lines it added.
    QStringList command(const QString& line) {
        const qsizetype before = memo->lines().size();
        type(line);
        if (!wait_idle()) return {"<still running>"};
        return memo->lines().mid(before);
    }

    TestFolders folders;
    std::unique_ptr<TForm1> form;
    OutputPane* memo = nullptr;
    EntryField* edit = nullptr;
    QWidget* panel = nullptr;
    QLabel* prompt = nullptr;
};

// A timer that should fire every 5 ms, measuring the longest stretch of work
// the window's event loop does without letting its timers run, between
// start() and stop(). It counts the processor time of the window's thread,
// not the time on the clock, so that a busy machine, which takes the
// processor away from the window, does not count as the window's own work.
class EventLoopGaps {
public:
    EventLoopGaps() {
        QObject::connect(&ticker_, &QTimer::timeout, [this] {
            const qint64 now = thread_ms();
            longest_ = std::max(longest_, now - last_);
            last_ = now;
        });
    }
    void start() {
        clock_.start();
        last_ = thread_ms();
        ticker_.start(5);
    }
    void stop() { ticker_.stop(); }
    // Processor milliseconds.
    qint64 longest() const { return longest_; }
    // Clock milliseconds since start().
    qint64 elapsed() const { return clock_.elapsed(); }

private:
    static qint64 thread_ms() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<qint64>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
    }

    QElapsedTimer clock_;
    QTimer ticker_;
    qint64 last_ = 0;
    qint64 longest_ = 0;
};

}  // namespace ostrac::ui::test
