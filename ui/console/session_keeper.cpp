#include "console/session_keeper.h"

#include <QtGlobal>

#include "console/entry_field.h"
#include "console/history_file.h"
#include "session/autosave.h"
#include "worker/tmythread.h"

namespace ostrac::ui {

void SessionKeeper::restore(bool autosave) {
    restored_ = true;
    for (const QString& line : history_file::read(history_file::path())) entry_.accept_line(line);
    if (!autosave) return;
    auto access = worker_.access();
    session::load_autosave(access.session());
}

void SessionKeeper::keep(bool autosave) {
    if (!restored_ || kept_) return;
    kept_ = true;
    QString error;
    if (!history_file::write(history_file::path(), entry_.history(), error)) {
        qWarning("The history could not be saved: %s", qPrintable(error));
    }
    if (!autosave) return;
    // A long built-in sees the Break between its blocks of work, so the
    // worker comes to rest at once.
    if (run_state_.load() == session::RunState::Running) worker_.request_break();
    auto access = worker_.access();
    if (!session::save_autosave_at_quit(access.session())) {
        qWarning("The session could not be saved into %.*s.", static_cast<int>(session::autosave_file.size()),
                 session::autosave_file.data());
    }
}

}  // namespace ostrac::ui
