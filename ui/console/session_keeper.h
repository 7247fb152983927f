// What the console keeps from one run of the program to the next: the entry
// field's history always, and the whole session in autosave.bin unless the
// options turn that off (then it is neither loaded nor saved).
//
// restore() runs at start, after the session came up and before the worker
// starts. keep() runs once, when the program quits by any road (the window
// closed, a quit request, SIGTERM): a running program is asked to break,
// and once the worker is at rest the session is saved as after a Break.
#pragma once

#include <atomic>

#include "session/session.h"

namespace ostrac::ui {

class EntryField;
class TMyThread;

class SessionKeeper {
public:
    SessionKeeper(TMyThread& worker, const std::atomic<session::RunState>& run_state, EntryField& entry)
        : worker_(worker), run_state_(run_state), entry_(entry) {}

    void restore(bool autosave);
    // Does nothing when restore() never ran: a session that never came up
    // has nothing to keep. A file that cannot be written is reported on
    // standard error: a message box could hold up a quit that SIGTERM asked
    // for, and the pane is going.
    void keep(bool autosave);

private:
    TMyThread& worker_;
    const std::atomic<session::RunState>& run_state_;
    EntryField& entry_;
    bool restored_ = false;
    bool kept_ = false;
};

}  // namespace ostrac::ui
