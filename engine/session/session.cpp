#include "session/session.h"

#include <exception>
#include <new>
#include <string>
#include <utility>

#include "frontend/frontend.h"
#include "state/stack_ops.h"
#include "state/symbols.h"
#include "vm/decoded_blocks.h"
#include "vm/dispatcher.h"
#include "vm/eval_load.h"
#include "vm/frames.h"
#include "vm/state_file.h"

namespace ostrac::session {

Session::Session(Host& h)
    : Machine(h), frontend_(std::make_unique<frontend::Frontend>()), decoded_(std::make_unique<vm::DecodedBlocks>()) {
    frontend = frontend_.get();
    decoded = decoded_.get();
}

Session::~Session() = default;

void Session::init(const std::array<std::string, search_path_count>& search_paths) {
    symbols.reset(state::SymbolTable::initial_capacity);
    series.clear();
    create_predefined_symbols();

    run_state = RunState::Idle;
    set_prompt(">>");
    refresh_modes();
    debug_mode = DebugMode::Off;
    search_path = search_paths;

    // No recovery point exists yet: a failed start-up load is reported and
    // start-up goes on with the predefined symbols alone.
    try {
        vm::state_load(*this, "data0.bin");
        for (int i = 0; i < symbols.capacity(); ++i) {
            const std::int32_t k = symbols[i].kind;
            if (k == state::kind::function) symbols.set_kind(i, state::kind::protected_function);
            if (k == state::kind::procedure) symbols.set_kind(i, state::kind::protected_procedure);
        }
        refresh_modes();  // the start-up file carries the angle and coordinate modes
    } catch (const FatalError&) {
    }

    set_position(slot::PROC0, 0);
    stack.cut(2);
    if (quiet) return;
    console_print("Ostrac initialized ok\n");
    console_print("Type load \"tutorial\" to see the tutorial\n");
}

int Session::step() { return run(1); }

int Session::run(int max_steps) {
    if (break_requested()) {
        console_print(state::user_halted);
        reset_after_failure();
    }
    // Code running inside EVAL0 goes on while paused: that is how a line typed
    // at a debugger stop is evaluated, together with the routines it calls.
    if (run_state != RunState::Running && current_block != slot::EVAL0 && !evaluating_at_pause) {
        host.worker_suspend();
        return running_flag;
    }

    try {
        if (running_flag == 0) {
            frontend::compile_block(*this, slot::PROC0);
            enter_main_block();
        }
        running_flag = vm::execute(*this, max_steps);
        if (running_flag == 0) {
            if (code == symbols[slot::PROC0].code.data()) {
                run_state = RunState::Idle;
                debug_mode = DebugMode::Off;
            } else {
                running_flag = 1;  // end of EVAL0: the caller goes on
                current_line = eval_caller_line;
                evaluating_at_pause = false;
            }
            vm::return_from_block(*this);
            frontend::restart_scanner(*this);
        }
        return running_flag;
    } catch (const FatalError&) {
    } catch (const std::exception& e) {
        report_exception(e);
    }
    reset_after_failure();
    return 0;
}

void Session::report_exception(const std::exception& e) {
    // Table growth, state files and function bodies report their own
    // allocation failures; what is left to fail here are matrices.
    const bool no_memory = dynamic_cast<const std::bad_alloc*>(&e) != nullptr;
    report_fatal(no_memory ? "Failure in allocate_matrix().\n" : "Math error;");
}

bool Session::submit(std::string_view line) {
    // A line typed at a stop that still runs keeps EVAL0 busy: the next one
    // waits, as lines typed while a program runs do.
    if (run_state == RunState::Running || evaluating_at_pause) return false;
    input_line = std::string(line.substr(0, input_line_max));
    if (run_state == RunState::Idle) {
        if (!quiet) console_print(">> " + input_line + "\n");
        run_state = RunState::Running;
        return true;
    }
    // Paused (or a Break not yet honoured): the line runs inside EVAL0 and
    // the program stays where it stopped. A line that does not compile
    // abandons the program.
    try {
        vm::eval_text(*this, input_line, pc);
        evaluating_at_pause = true;
    } catch (const FatalError&) {
        reset_after_failure();
    }
    return true;
}

void Session::enter_main_block() {
    set_position(slot::PROC0, 0);
    state::push_frame(*this, 0);
    running_flag = 1;
}

void Session::select_editor_feed(std::vector<std::string> lines) {
    frontend::select_editor_feed(*this, std::move(lines));
}

void Session::reset() {
    run_state = RunState::Idle;
    set_prompt(">>");
    frontend::restart_scanner(*this);
    set_position(slot::PROC0, 0);
    running_flag = 0;
    stack.clear();
    debug_mode = DebugMode::Off;
    host.editor_reset();
    input_answer_phase = false;
    evaluating_at_pause = false;
}

void Session::reset_after_failure() {
    ++failed_commands_;
    reset();
}

bool Session::state_file_allowed() const { return run_state == RunState::Idle && running_flag == 0; }

Session::StateFileOutcome Session::save_state(const std::function<bool()>& also) {
    return state_file_command(&vm::state_save, also, "State Saved.\n");
}

Session::StateFileOutcome Session::load_state(const std::function<bool()>& also) {
    return state_file_command(&vm::session_reload, also, "State Loaded.\n");
}

Session::StateFileOutcome Session::state_file_command(void (*operation)(state::Machine&),
                                                      const std::function<bool()>& also, std::string_view done) {
    if (!state_file_allowed()) {
        console_print("Not possible while a program is paused\n");
        ++failed_commands_;
        return StateFileOutcome::Refused;
    }
    try {
        operation(*this);
    } catch (const FatalError&) {
        reset_after_failure();  // reported in the pane
        return StateFileOutcome::Failed;
    } catch (const std::exception& e) {
        report_exception(e);
        reset_after_failure();
        return StateFileOutcome::Failed;
    }
    if (also && !also()) {
        ++failed_commands_;
        return StateFileOutcome::Failed;
    }
    console_print(done);
    return StateFileOutcome::Done;
}

}  // namespace ostrac::session
