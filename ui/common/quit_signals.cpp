#include "common/quit_signals.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <utility>

namespace ostrac::ui {

namespace {

// The two ends of the pipe; [1] is written by the handler.
std::array<int, 2> signal_pipe{-1, -1};

void on_quit_signal(int signal) {
    const int saved_errno = errno;
    const char number = static_cast<char>(signal);
    // A full pipe already holds a wake-up; nothing is lost by dropping this one.
    [[maybe_unused]] const ssize_t written = ::write(signal_pipe[1], &number, 1);
    errno = saved_errno;
}

}  // namespace

QuitSignals::QuitSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, signal_pipe.data()) != 0) return;
    notifier_ = new QSocketNotifier(signal_pipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &QuitSignals::take_signal);
    struct sigaction action {};
    action.sa_handler = on_quit_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, &earlier_term_);
    sigaction(SIGHUP, &action, &earlier_hangup_);
}

QuitSignals::~QuitSignals() {
    if (notifier_ == nullptr) return;
    sigaction(SIGTERM, &earlier_term_, nullptr);
    sigaction(SIGHUP, &earlier_hangup_, nullptr);
    for (int& end : signal_pipe) ::close(std::exchange(end, -1));
}

void QuitSignals::take_signal() {
    char number = 0;
    while (::read(signal_pipe[0], &number, 1) == 1) emit received(number);
}

}  // namespace ostrac::ui
