// The protocol between the console's thread and the worker thread, without a
// window: the worker parks when the session has nothing to run, resumes on
// submit and Break, holds still while the console uses the session, and hands
// every engine update over through the host's locked queue. Built once with
// -fsanitize=thread, this test must run free of data races.
#include <QElapsedTimer>
#include <QTest>
#include <chrono>
#include <ctime>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "session/session.h"
#include "ui_test_support.h"
#include "worker/console_host.h"
#include "worker/tmythread.h"
#include "worker/worker_gate.h"

using ostrac::session::RunState;
using ostrac::session::Session;
using namespace ostrac::ui;

namespace {

double process_cpu_seconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// A session driven by its worker thread, as the console window drives it.
struct Harness {
    explicit Harness(const QString& home) {
        std::array<std::string, Session::search_path_count> paths;
        paths[0] = home.toStdString();
        session.init(paths);
        worker.start();
        take_lines();
    }

    // Enter: hands a line to the session while the worker is at rest.
    void submit(const std::string& line) {
        auto access = worker.access();
        if (access.session().submit(line)) access.resume();
    }

    void press_break() {
        auto access = worker.access();
        access.session().run_state = RunState::BreakRequested;
        access.resume();
    }

    // Waits until the session stopped running and the worker parked itself.
    bool wait_parked(int timeout_ms = 10000) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeout_ms) {
            if (session.run_state.load() != RunState::Running && gate.suspended()) return true;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return false;
    }

    std::vector<std::string> take_lines() {
        for (ConsoleEvent& event : host.take_events()) {
            if (auto* line = std::get_if<console_event::PaneLine>(&event)) lines.push_back(std::move(line->text));
        }
        std::vector<std::string> taken;
        taken.swap(lines);
        return taken;
    }

    WorkerGate gate;
    ConsoleHost host{gate};
    Session session{host};
    TMyThread worker{session, gate};
    std::vector<std::string> lines;
};

}  // namespace

class WorkerProtocolTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void the_idle_worker_parks_and_uses_no_processor_time();
    void a_submitted_line_runs_on_the_worker_data();
    void a_submitted_line_runs_on_the_worker();
    void break_stops_an_endless_loop();
    void the_console_may_use_the_session_while_a_program_runs();
    void the_worker_ends_when_its_thread_object_goes();

private:
    test::TestFolders folders_;
};

void WorkerProtocolTest::the_idle_worker_parks_and_uses_no_processor_time() {
    Harness harness(folders_.home());
    QVERIFY(harness.wait_parked());
    const double before = process_cpu_seconds();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const double used = process_cpu_seconds() - before;
    qInfo("processor time used while idle for 0.5 s: %.6f s", used);
    QVERIFY2(used < 0.02, qPrintable(QString("idle worker used %1 s").arg(used)));
}

void WorkerProtocolTest::a_submitted_line_runs_on_the_worker_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("print") << "print 5" << QStringList{">> print 5", "5"};
    QTest::newRow("empty line") << "" << QStringList{">> "};
    QTest::newRow("assignment prints nothing") << "x = 2" << QStringList{">> x = 2"};
    QTest::newRow("syntax error") << "print" << QStringList{">> print", "parse error in print (line=0)", "Sintax error line=0"};
}

void WorkerProtocolTest::a_submitted_line_runs_on_the_worker() {
    QFETCH(QString, line);
    QFETCH(QStringList, expected);
    Harness harness(folders_.home());
    QVERIFY(harness.wait_parked());
    harness.submit(line.toStdString());
    QVERIFY(harness.wait_parked());
    QStringList seen;
    for (const std::string& text : harness.take_lines()) seen.append(QString::fromStdString(text));
    QCOMPARE(seen, expected);
}

void WorkerProtocolTest::break_stops_an_endless_loop() {
    Harness harness(folders_.home());
    QVERIFY(harness.wait_parked());
    harness.submit("while 1 do endwhile");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    QCOMPARE(harness.session.run_state.load(), RunState::Running);
    QElapsedTimer latency;
    latency.start();
    harness.press_break();
    QVERIFY(harness.wait_parked(1000));
    qInfo("Break honoured after %lld ms", static_cast<long long>(latency.elapsed()));
    QVERIFY(latency.elapsed() < 100);
    const std::vector<std::string> lines = harness.take_lines();
    QVERIFY(!lines.empty());
    QCOMPARE(lines.back(), std::string("User Halted!"));
    QCOMPARE(harness.session.run_state.load(), RunState::Idle);
}

void WorkerProtocolTest::the_console_may_use_the_session_while_a_program_runs() {
    Harness harness(folders_.home());
    QVERIFY(harness.wait_parked());
    harness.submit("while 1 do x = sysangle: endwhile");
    // The mode labels change the system variable table at any time.
    for (int i = 0; i < 2000; ++i) {
        auto access = harness.worker.access();
        auto& angle = access.session().system_variable(0);
        angle.current = static_cast<std::uint8_t>((angle.current + 1) % 3);
        access.session().refresh_modes();
    }
    QCOMPARE(harness.session.run_state.load(), RunState::Running);
    harness.press_break();
    QVERIFY(harness.wait_parked());
    auto access = harness.worker.access();
    QCOMPARE(access.session().system_variable(0).current, std::uint8_t{2000 % 3});
}

void WorkerProtocolTest::the_worker_ends_when_its_thread_object_goes() {
    QElapsedTimer timer;
    timer.start();
    {
        Harness harness(folders_.home());
        harness.submit("while 1 do endwhile");
    }
    QVERIFY(timer.elapsed() < 5000);
}

QTEST_GUILESS_MAIN(WorkerProtocolTest)
#include "worker_protocol_test.moc"
