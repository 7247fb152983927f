// The session kept between runs: the whole engine state in "autosave.bin" of
// the home folder, beside and apart from the user's own "data.bin", in the
// same format. A front end that offers it loads it once after start-up (after
// "data0.bin") and saves it when it quits. Every call here runs with the
// session at rest (no step in progress) and never throws.
#pragma once

#include <string_view>

#include "session/session.h"

namespace ostrac::session {

inline constexpr std::string_view autosave_file = "autosave.bin";
inline constexpr std::string_view broken_autosave_file = "autosave.bin.broken";

// Loads "autosave.bin" when there is one. A file that cannot be used (not a
// state file, damaged, too large, or written over another start-up library,
// i.e. by another version) replaces any earlier "autosave.bin.broken", one
// line in the pane says so, and the session goes on as start-up left it.
// Nothing is printed when there is no file or it loads. Returns whether it
// loaded.
bool load_autosave(Session& session);

// Saves the whole state into "autosave.bin", safely (a temporary file
// renamed over the old one). Refused, like Save, while a program runs, is
// paused or waits for INPUT. A failure is reported in the pane as Save
// reports it. Returns whether the file was written.
bool save_autosave(Session& session);

// The save at quit: a program that runs, is paused or waits for INPUT is
// stopped first as Break stops it ("User Halted!", back to Idle with an
// empty stack), then the state is saved as save_autosave does.
bool save_autosave_at_quit(Session& session);

}  // namespace ostrac::session
