// SIGTERM and SIGHUP end the program as its window does. The handler only
// writes the signal's number into a pipe; the pipe's reading end is watched
// by the event loop, which emits received() on the user-interface thread,
// where the program can stop its work and save as at any other quit.
// One QuitSignals at a time; the earlier handlers return when it goes.
#pragma once

#include <QObject>
#include <csignal>

class QSocketNotifier;

namespace ostrac::ui {

class QuitSignals : public QObject {
    Q_OBJECT

public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

signals:
    void received(int signal);

private:
    void take_signal();

    QSocketNotifier* notifier_ = nullptr;
    struct sigaction earlier_term_ {};
    struct sigaction earlier_hangup_ {};
};

}  // namespace ostrac::ui
