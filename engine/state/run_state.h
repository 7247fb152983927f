// What the worker does, and how the debugger stops a program. The user-
// interface thread sets both while the worker rests; Break is the one write
// made while a step runs.
#pragma once

#include <cstdint>

namespace ostrac::state {

enum class RunState : std::int32_t {
    Running = 0,         // a command or program is executing
    Idle = 1,            // waiting for a command line or an INPUT answer
    Paused = 2,          // stopped by the debugger at a line marker
    BreakRequested = 3,  // the Break button was pressed
};

// The debugger's mode, set by the program editor. Any mode but Off also makes
// the compiler place a line marker before each line.
enum class DebugMode : std::int32_t {
    Off = 0,
    RunToTarget = 1,  // stop at `target_line`
    EveryLine = 2,    // stop at every line, function bodies included
    StepOver = 3,     // stop at `target_line`, or at the next line when it is -1
};

}  // namespace ostrac::state
