#include "session/session.h"

#include <exception>
#include <new>
#include <string>

#include "frontend/frontend.h"
#include "vm/dispatcher.h"
#include "vm/eval_load.h"
#include "vm/frames.h"
#include "vm/stack_ops.h"
#include "vm/state_file.h"
#include "vm/symbols.h"

namespace ostrac::session {

namespace {

// PI as the calculator has always stored it: 3.14159265358979, seven units of
// the last place below the double nearest to pi.
constexpr double stored_pi = 3.14159265358979;
static_assert(stored_pi == 0x1.921fb54442d11p+1);

constexpr std::string_view user_halted = "User Halted!\n";

}  // namespace

Session::Session(Host& h) : host(h), frontend(std::make_unique<frontend::Frontend>()) {}

Session::~Session() = default;

void Session::init(const std::array<std::string, search_path_count>& search_paths) {
    symbols.reset(vm::SymbolTable::initial_capacity);
    series.clear();
    create_predefined_symbols();

    run_state = RunState::Idle;
    set_prompt(">>");
    refresh_modes();
    debug_mode = 0;
    search_path = search_paths;

    // No recovery point exists yet: a failed start-up load is reported and
    // start-up goes on with the predefined symbols alone.
    try {
        vm::state_load(*this, "data0.bin");
        for (int i = 0; i < symbols.capacity(); ++i) {
            const std::int32_t k = symbols[i].kind;
            if (k == vm::kind::function) symbols.set_kind(i, vm::kind::protected_function);
            if (k == vm::kind::procedure) symbols.set_kind(i, vm::kind::protected_procedure);
        }
        refresh_modes();  // the start-up file carries the angle and coordinate modes
    } catch (const FatalError&) {
    }

    set_position(slot::PROC0, 0);
    stack.cut(2);
    console_print("Ostrac initialized ok\n");
    console_print("Type load \"tutorial\" to see the tutorial\n");
}

void Session::create_predefined_symbols() {
    const std::int32_t proc0 = vm::lookup_or_create(*this, "PROC0", vm::kind::global);
    symbols.set_code(proc0, std::vector<std::uint8_t>(proc0_size, 0));

    const std::int32_t eval0 = vm::lookup_or_create(*this, "EVAL0", vm::kind::global);
    symbols.set_code(eval0, std::vector<std::uint8_t>(eval0_size, 0));

    vm::create_with_value(*this, "PI", vm::kind::constant, stored_pi);
    const std::int32_t sub0 = vm::create_with_value(*this, "SUB0", vm::kind::constant, 0.0);
    symbols[sub0].type = vm::ValueType::Procedure;
    vm::create_with_value(*this, "ANS", vm::kind::global, 0.0);
    for (SystemVariable& row : system_variables_) {
        row.index = vm::create_with_value(*this, row.name, vm::kind::system, 0.0);
        row.current = 0;
    }
}

int Session::step() { return run(1); }

int Session::run(int max_steps) {
    if (break_requested()) {
        console_print(user_halted);
        reset();
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
                debug_mode = 0;
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
    reset();
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
        console_print(">> " + input_line + "\n");
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
        reset();
    }
    return true;
}

void Session::enter_main_block() {
    set_position(slot::PROC0, 0);
    vm::push_frame(*this, 0);
    running_flag = 1;
}

void Session::reset() {
    run_state = RunState::Idle;
    set_prompt(">>");
    frontend::restart_scanner(*this);
    set_position(slot::PROC0, 0);
    running_flag = 0;
    stack.clear();
    debug_mode = 0;
    host.editor_reset();
    input_answer_phase = false;
    evaluating_at_pause = false;
}

void Session::report_fatal(std::string_view message) {
    std::string text(message.substr(0, 255));
    if (!text.empty() && text.back() == '\n') text.pop_back();
    text += " line=" + std::to_string(current_line) + "\n";
    console_print(text);
}

void Session::fatal_error(std::string_view message) {
    report_fatal(message);
    throw FatalError{};
}

void Session::fatal_error_fmt(std::string_view format, std::string_view argument) {
    std::string text(format);
    if (const auto at = text.find("%s"); at != std::string::npos) text.replace(at, 2, argument);
    if (!text.empty() && text.back() == '\n') text.pop_back();
    if (console_.has_pending()) host.pane_add_line(console_.take_pending());
    host.pane_add_line(text);
    throw FatalError{};
}

void Session::halt_if_break() {
    if (!break_requested()) return;
    console_print(user_halted);
    throw FatalError{};
}

void Session::console_print(std::string_view text) {
    std::string line;
    if (console_.print(text, line)) host.pane_add_line(line);
}

void Session::set_prompt(std::string_view text) {
    prompt_text = text;
    host.set_prompt(prompt_text);
}

void Session::refresh_modes() {
    for (const SystemVariable& row : system_variables_) {
        if (symbols.valid_index(row.index)) symbols[row.index].set_real(row.current);
    }
    host.show_modes(system_variables_[0].current, system_variables_[1].current);
}

}  // namespace ostrac::session
