#include "editor/debugger.h"

#include <utility>

namespace ostrac::ui::debugger {

namespace {

using session::DebugMode;
using session::RunState;

bool nothing_in_progress(const session::Session& s) {
    return s.run_state == RunState::Idle && s.running_flag == 0;
}

// Whether a debug button may act: a new run, a stop, or a debugged program
// that runs (its mode and target may change on the way).
bool debug_press_allowed(const session::Session& s) {
    switch (s.run_state.load()) {
    case RunState::Idle: return s.running_flag == 0;
    case RunState::Paused: return true;
    case RunState::Running: return s.debug_mode != DebugMode::Off;
    case RunState::BreakRequested: return false;
    }
    return false;
}

void start_program(session::Session& s, std::vector<std::string> program) {
    s.select_editor_feed(std::move(program));
    s.run_state = RunState::Running;
}

// The common end of Step and StepInto.
Outcome go_on(session::Session& s, DebugMode mode_before, std::vector<std::string> program) {
    Outcome outcome{.enter_debug_view = mode_before == DebugMode::Off};
    const bool was_idle = s.run_state == RunState::Idle;
    if (was_idle) s.select_editor_feed(std::move(program));
    if (was_idle || mode_before != DebugMode::Off) {
        s.run_state = RunState::Running;
        outcome.resume = true;
    }
    return outcome;
}

}  // namespace

Outcome run(session::Session& s, std::vector<std::string> program) {
    if (nothing_in_progress(s)) {
        start_program(s, std::move(program));
        return {.resume = true};
    }
    if (s.run_state == RunState::Paused) {
        s.run_state = RunState::Running;
        return {.resume = true};
    }
    return {};
}

Outcome run_to(session::Session& s, int caret_line, int picked_line, std::vector<std::string> program) {
    if (!debug_press_allowed(s)) return {};
    Outcome outcome;
    const bool was_idle = s.run_state == RunState::Idle;
    if (s.debug_mode == DebugMode::Off) {
        s.debug_mode = DebugMode::RunToTarget;
        outcome.enter_debug_view = true;
        s.target_line = caret_line;
    } else {
        s.debug_mode = DebugMode::RunToTarget;
        s.target_line = picked_line;
        s.run_state = RunState::Running;
    }
    if (was_idle) start_program(s, std::move(program));
    outcome.resume = true;
    return outcome;
}

Outcome step(session::Session& s, std::vector<std::string> program) {
    if (!debug_press_allowed(s)) return {};
    const DebugMode before = s.debug_mode;
    s.debug_mode = DebugMode::StepOver;
    s.target_line = -1;
    return go_on(s, before, std::move(program));
}

Outcome step_into(session::Session& s, std::vector<std::string> program) {
    if (!debug_press_allowed(s)) return {};
    const DebugMode before = s.debug_mode;
    s.debug_mode = DebugMode::EveryLine;
    return go_on(s, before, std::move(program));
}

Outcome edit(session::Session& s) {
    s.run_state = RunState::BreakRequested;
    return {.resume = true};
}

State state(bool debug_view, const session::Session& s) {
    if (!debug_view) return State::Editing;
    if (s.run_state == RunState::Paused) return State::DebugPaused;
    if (nothing_in_progress(s)) return State::Ended;
    return State::DebugRunning;
}

}  // namespace ostrac::ui::debugger
