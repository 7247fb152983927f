// The program editor's debugger buttons as operations on the session,
// without any widget. The caller holds the session at rest (a
// SessionAccess) while one of them runs, shows the debug view when asked,
// and resumes the worker afterwards when asked; so the debugger's mode and
// target are always set before the worker goes on.
//
// A new run starts only on a session with nothing in progress. A press that
// could not act sensibly is refused and changes nothing: any press while a
// Break is pending or while a program waits for an INPUT answer, and the
// debug buttons while a program runs that was compiled without line markers
// (it could never stop).
#pragma once

#include <string>
#include <vector>

#include "session/session.h"

namespace ostrac::ui::debugger {

// What the window has to do after a button acted on the session.
struct Outcome {
    bool enter_debug_view = false;  // show the program as a list
    bool resume = false;            // resume the worker
    bool operator==(const Outcome&) const = default;
};

// run: the program from its start, without changing the debug mode; on a
// paused program, go on from the stop.
Outcome run(session::Session& s, std::vector<std::string> program);

// runTo: the first press runs the program to `caret_line`; later presses
// run on to `picked_line`, the line chosen in the list (0 when none is).
Outcome run_to(session::Session& s, int caret_line, int picked_line, std::vector<std::string> program);

// Step: on to the next line of the same routine (calls are stepped over).
Outcome step(session::Session& s, std::vector<std::string> program);

// StepInto: on to the next line executed, inside called routines too.
Outcome step_into(session::Session& s, std::vector<std::string> program);

// edit: stop the program; the worker reports "User Halted!" and resets,
// which brings the text back.
Outcome edit(session::Session& s);

// The editor's states.
enum class State {
    Editing,       // the text is shown
    DebugRunning,  // the list is shown, the program runs
    DebugPaused,   // the list is shown, the program stopped at a line
    Ended,         // the list is shown, the debugged program has ended
};

State state(bool debug_view, const session::Session& s);

}  // namespace ostrac::ui::debugger
