// The machine's state: the symbol table, the operand stack, the execution
// position, the session variables and the way out to the host. Everything the
// compiler and the dispatcher work on is here; the driver that steps it is
// session::Session, built on top.
//
// One thread at a time touches a machine, with one exception: `run_state`
// may be set to BreakRequested from another thread while a step runs.
//
// Errors anywhere in the engine go through fatal_error(), which prints the
// report and throws FatalError. The session's step catches it and resets
// the machine; the few other callers into the engine (the start-up load,
// the state-file commands of the front ends) catch it where they call.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "graph/series_table.h"
#include "numeric/stop_check.h"
#include "state/console_output.h"
#include "state/display_settings.h"
#include "state/host.h"
#include "state/name_cache.h"
#include "state/operand_stack.h"
#include "state/run_state.h"
#include "state/symbol_table.h"

namespace ostrac::frontend {
class Frontend;
}
namespace ostrac::vm {
class DecodedBlocks;
}

namespace ostrac::state {

// Indexes of the predefined symbols, created in this order at start-up.
namespace slot {
inline constexpr int PROC0 = 0;
inline constexpr int EVAL0 = 1;
inline constexpr int PI = 2;
inline constexpr int SUB0 = 3;
inline constexpr int ANS = 4;
inline constexpr int sysangle = 5;
inline constexpr int syscoord = 6;
inline constexpr int sysgraph = 7;
}  // namespace slot

struct SystemVariable {
    std::string_view name;
    int index;              // symbol index, filled at start-up
    std::uint8_t largest;   // largest value an assignment may give it
    std::uint8_t current;   // the authority; copied into the entry on refresh
};

// Thrown by fatal_error after the report has been printed.
struct FatalError {};

// What a Break prints when it ends a program.
inline constexpr std::string_view user_halted = "User Halted!\n";

class Machine {
public:
    static constexpr int proc0_size = 32000;
    static constexpr int eval0_size = 2000;
    static constexpr std::size_t input_line_max = 254;
    static constexpr int search_path_count = 10;

    explicit Machine(Host& host) : host(host) {}
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    [[noreturn]] void fatal_error(std::string_view message);
    // Prints "<message> line=<current_line>" without unwinding.
    void report_fatal(std::string_view message);
    // Formats the message with one argument (the first "%s") and prints it as
    // a line of its own, without the line number.
    [[noreturn]] void fatal_error_fmt(std::string_view format, std::string_view argument);

    // A Break pressed while an instruction runs. Long built-ins hand
    // break_check() to the numeric library, which asks it between blocks of
    // work, and call halt_if_break() once the computation returns: a pending
    // Break then ends the instruction as it ends a program between two steps
    // ("User Halted!", back to Idle), whatever the computation gave.
    bool break_requested() const {
        return run_state.load(std::memory_order_relaxed) == RunState::BreakRequested;
    }
    numeric::StopCheck break_check() const {
        return [this] { return break_requested(); };
    }
    void halt_if_break();

    void console_print(std::string_view text);
    void set_prompt(std::string_view text);
    // Copies each system variable's current value into its entry and shows
    // the mode labels.
    void refresh_modes();

    // Makes `block` the block being executed, at `offset`.
    void set_position(int block, int offset);

    SystemVariable& system_variable(int index) { return system_variables_[static_cast<std::size_t>(index)]; }
    std::array<SystemVariable, 3>& system_variables() { return system_variables_; }
    const std::array<SystemVariable, 3>& system_variables() const { return system_variables_; }
    int angle_unit() const { return system_variables_[0].current; }
    int coord_mode() const { return system_variables_[1].current; }
    const std::string& home_folder() const { return search_path[0]; }

    Host& host;

    std::atomic<RunState> run_state{RunState::Idle};
    std::int32_t running_flag = 0;
    DebugMode debug_mode = DebugMode::Off;
    std::int32_t target_line = -1;
    std::int32_t current_line = 0;
    std::string input_line;
    std::string prompt_text = ">>";
    std::array<std::string, search_path_count> search_path;

    SymbolTable symbols;
    NameCache name_cache;  // lookups of identifier operands, see state/name_cache.h
    OperandStack stack;

    // What the graph commands fill; not part of any state file.
    graph::SeriesTable series;

    // How results and PRINT show numbers; the front end's preference, not
    // part of any state file. STR keeps its own fixed form.
    DisplaySettings display;

    // Execution position: the three always change together (set_position).
    std::int32_t current_block = slot::PROC0;
    std::int32_t pc = 0;
    const std::uint8_t* code = nullptr;
    std::int32_t code_size = 0;

    // INPUT waits for its answer between two executions of its instruction.
    bool input_answer_phase = false;

    // The line of the code that performed EVAL; it is the current line again
    // once EVAL0 has ended (EVALs do not nest).
    std::int32_t eval_caller_line = 0;

    // A line typed at a debugger stop is being evaluated. It runs to its end,
    // routines it calls included, while the program stays paused, and the
    // debugger neither reports nor stops at the lines of those routines.
    bool evaluating_at_pause = false;

    // The scanner's source and the compile-time state kept across
    // compilations; owned by the session, which sets it up.
    frontend::Frontend* frontend = nullptr;

    // The decoded form of the blocks run lately, owned by the session, which
    // sets it up (vm/decoded_blocks.h); without it every instruction runs
    // from the byte code.
    vm::DecodedBlocks* decoded = nullptr;

protected:
    ~Machine() = default;

    // PROC0, EVAL0, PI, SUB0, ANS and the system variables, at their slots.
    void create_predefined_symbols();

private:
    std::array<SystemVariable, 3> system_variables_{{
        {"sysangle", slot::sysangle, 2, 0},
        {"syscoord", slot::syscoord, 1, 0},
        {"sysgraph", slot::sysgraph, 3, 0},
    }};
    ConsoleOutput console_;
};

// Inline: every call and return of a routine goes through it.
inline void Machine::set_position(int block, int offset) {
    const SymbolEntry& e = symbols[block];
    current_block = block;
    code = e.code.data();
    code_size = static_cast<std::int32_t>(e.code.size());
    pc = offset;
}

}  // namespace ostrac::state
