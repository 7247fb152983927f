// User functions and procedures: definition, call, parameters and return.
//
// A routine's locals (parameters included) are entries whose kind is the
// routine's index; every activation shares them, and they are freed when any
// activation ends. A function's result is its own entry: the body assigns to
// the function's name, and the call leaves that value.
#pragma once

#include <cstdint>

#include "state/machine.h"

namespace ostrac::vm {

using state::Machine;

void op_define(Machine& s, bool procedure);  // endpos id -> : DEFFUNC, DEFSUB
void op_deffunc(Machine& s);  // op_define of a function
void op_defsub(Machine& s);   // op_define of a procedure
void op_params(Machine& s);                  // a1..an cnt p1..pm m ->
void op_call(Machine& s);                    // a1..an cnt id -> result
void op_endfunc(Machine& s);                 // -> result
void op_exitfunc(Machine& s);                // ... -> result

// Pushes the value an entry holds (after following references) as a cell.
void push_entry_value(Machine& s, std::int32_t index);

// Starts routine `id` (an entry with code) at its first instruction, its
// return frame already pushed.
inline void enter_routine(Machine& s, std::int32_t id) {
    s.set_position(id, 0);
    // Step over: the first call of the stepped line moves the stop past
    // that line; calls made inside the routine leave it there, so the step
    // never ends inside the routine.
    if (s.debug_mode == state::DebugMode::StepOver && s.target_line == -1) s.target_line = s.current_line + 1;
}

}  // namespace ostrac::vm
