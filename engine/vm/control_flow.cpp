#include "vm/control_flow.h"

#include "state/machine.h"
#include "state/stack_ops.h"
#include "state/symbols.h"
#include "vm/loops.h"

namespace ostrac::vm {

namespace kind = state::kind;
using state::lookup_or_create;
using state::Machine;
using state::pop_gosub;
using state::pop_id;
using state::pop_int;
using state::pop_real;
using state::push_gosub;
using state::SymbolEntry;
using state::ValueType;

void jump_by(Machine& s, std::int32_t distance) {
    s.pc = jump_target(s.pc, distance, s.code_size);
}

void op_jump(Machine& s) { jump_by(s, pop_int(s)); }

void op_if(Machine& s) {
    const std::int32_t distance = pop_int(s);
    if (pop_real(s) == 0.0) jump_by(s, distance);
}

void op_goto(Machine& s) {
    jump_by(s, pop_int(s));
    leave_loops_for(s, s.pc);
}

void op_gosub(Machine& s) {
    const std::int32_t distance = pop_int(s);
    push_gosub(s, s.pc);
    jump_by(s, distance);
}

void op_return(Machine& s) {
    const std::int32_t offset = pop_gosub(s);
    jump_by(s, offset - s.pc);
}

void op_halt(Machine& s) { s.fatal_error("Program Halted!"); }

void op_global(Machine& s) {
    const std::int32_t n = pop_int(s);
    for (std::int32_t i = 0; i < n; ++i) {
        const std::int32_t local = pop_id(s);
        if (s.symbols[local].kind == kind::global) continue;
        const std::int32_t global = lookup_or_create(s, s.symbols[local].name, kind::global);
        // A name that is already visible everywhere (a constant, a function)
        // finds itself; making it refer to itself would break it for good.
        if (global == local) continue;
        SymbolEntry& e = s.symbols[local];
        e.set_real(0.0);
        e.type = ValueType::Reference;
        e.ref = global;
    }
}

}  // namespace ostrac::vm
