// SIGTERM and SIGHUP while the session is autosaved: the handler only notes
// the signal and breaks a running program; the main loop sees the note,
// saves the session and then ends the process by the same signal, so that
// whoever sent it sees the usual end.
#pragma once

#include <atomic>

#include "session/session.h"

namespace ostrac::cli {

// From now on SIGTERM and SIGHUP are noted, and a program running in the
// session is asked to break. A read of standard input waiting for a line is
// interrupted, so that the main loop ends as at the end of the input.
void catch_quit_signals(std::atomic<session::RunState>& run_state);

// A quit signal was noted.
bool quit_signalled();

// Ends the process by the noted signal, if there is one; returns otherwise.
void end_by_quit_signal();

}  // namespace ostrac::cli
