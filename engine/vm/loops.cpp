#include "vm/loops.h"

#include <variant>

#include "state/machine.h"
#include "state/stack_ops.h"
#include "state/symbols.h"
#include "vm/control_flow.h"

namespace ostrac::vm {

using state::BlockCell;
using state::checknoconst;
using state::get_if;
using state::holds_alternative;
using state::LoopFrameCell;
using state::pop_block;
using state::pop_id;
using state::pop_int;
using state::pop_loop_frame;
using state::pop_real;
using state::push_block;
using state::push_float;
using state::push_id;
using state::push_loop_frame;
using state::ReturnOffsetCell;
using state::set_float;
using state::SymbolEntry;
using state::Value;
using state::ValueType;

namespace {

// Position just above the return frame of the running activation: the cells
// of the activation's own loops lie at or above it.
int activation_base(state::Machine& s) {
    for (int p = s.stack.depth() - 1; p >= 1; --p) {
        if (holds_alternative<BlockCell>(s.stack.at(p)) &&
            holds_alternative<ReturnOffsetCell>(s.stack.at(p - 1))) {
            return p + 1;
        }
    }
    return 0;
}

}  // namespace

void op_for(state::Machine& s) {
    const std::int32_t skip = pop_int(s);
    const std::int32_t variable = pop_id(s);
    const double step = pop_real(s);
    const double end = pop_real(s);
    const double start = pop_real(s);
    if (loop_is_over(step, end, start)) {
        jump_by(s, skip);  // past the matching NEXT
        return;
    }
    // The variable is overwritten whatever it held, but constants and system
    // variables keep their guard.
    checknoconst(s, variable, Value{start});
    const std::int32_t body = s.pc;
    push_loop_frame(s, skip, s.stack.depth(), body, jump_target(body, skip, s.code_size));
    set_float(s, variable, start);
    push_float(s, step);
    push_float(s, end);
    push_id(s, variable);
    push_block(s, body);
}

void op_next(state::Machine& s) {
    const std::int32_t body = pop_block(s);
    const std::int32_t variable = pop_id(s);
    const double end = pop_real(s);
    const double step = pop_real(s);
    SymbolEntry& v = s.symbols[variable];
    if (v.type != ValueType::Real) s.fatal_error("Incorrect type");
    const double next = v.number.re + step;
    if (loop_is_over(step, end, next)) {
        pop_loop_frame(s);
        return;
    }
    v.set_real(next);
    push_float(s, step);
    push_float(s, end);
    push_id(s, variable);
    push_block(s, body);
    s.pc = body;
}

void leave_loops_for(state::Machine& s, std::int32_t target) {
    for (int p = activation_base(s); p < s.stack.depth(); ++p) {
        const auto* frame = get_if<LoopFrameCell>(&s.stack.at(p));
        if (frame == nullptr || frame->block != s.current_block) continue;
        if (target < frame->body_start || target >= frame->body_end) {
            s.stack.cut(frame->depth);
            return;
        }
    }
}

}  // namespace ostrac::vm
