// The common cases of the busiest instructions, inlined into the dispatch
// loop. Each fast path either performs the whole instruction, leaving the
// session exactly as the instruction's handler would, or returns false
// having changed nothing; the handler then runs and reports any error.
#pragma once

#include <cstdint>
#include <variant>

#include "session/session.h"
#include "vm/control_flow.h"
#include "vm/loops.h"
#include "vm/stack_ops.h"

namespace ostrac::vm::fast {

// Arithmetic and comparisons of two plain reals.
template <class Operation>
inline bool binary_real(Session& s, Operation operation) {
    double a = 0.0;
    double b = 0.0;
    if (!pop_real_pair(s, a, b)) return false;
    operation(a, b);
    return true;
}

inline bool add(Session& s) {
    return binary_real(s, [&](double a, double b) { push_float(s, a + b); });
}
inline bool sub(Session& s) {
    return binary_real(s, [&](double a, double b) { push_float(s, a - b); });
}
inline bool mul(Session& s) {
    return binary_real(s, [&](double a, double b) { push_float(s, a * b); });
}

template <class Relation>
inline bool compare(Session& s, Relation holds) {
    return binary_real(s, [&](double a, double b) { push_int(s, holds(a, b) ? 1 : 0); });
}

// A number stored into a variable that holds its own value (no reference,
// no constant, no system variable).
inline bool assign(Session& s) {
    const Value* target = s.stack.peek(0);
    const Value* value = s.stack.peek(1);
    if (value == nullptr) return false;
    const auto* id = get_if<IdentCell>(target);
    if (id == nullptr || !s.symbols.valid_index(id->index)) return false;
    double number = 0.0;
    if (const auto* d = get_if<double>(value)) {
        number = *d;
    } else if (const auto* i = get_if<IntCell>(value)) {
        number = static_cast<double>(i->value);
    } else {
        return false;
    }
    SymbolEntry& e = s.symbols[id->index];
    if (e.type == ValueType::Reference || e.kind == kind::constant || e.kind == kind::system) return false;
    e.set_real(number);
    s.stack.drop_scalars(2);
    return true;
}

// IF and JFALSE on a plain real condition; `pc` and `size` are the dispatch
// loop's position in the running block.
inline bool branch(Session& s, std::int32_t& pc, std::int32_t size) {
    const auto* distance = get_if<IntCell>(s.stack.peek(0));
    const Value* condition = s.stack.peek(1);
    double c = 0.0;
    if (distance == nullptr || condition == nullptr || !plain_real(s, *condition, c)) return false;
    const std::int32_t d = distance->value;
    s.stack.drop_scalars(2);
    if (c == 0.0) pc = jump_target(pc, d, size);
    return true;
}

// NEXT of a loop that goes on: the frame stays as it is, which is what
// popping and pushing it again leaves. `pc` is the dispatch loop's position.
inline bool next(Session& s, std::int32_t& pc) {
    const Value* c3 = s.stack.peek(3);
    if (c3 == nullptr) return false;
    const auto* body = get_if<BlockCell>(s.stack.peek(0));
    const auto* variable = get_if<IdentCell>(s.stack.peek(1));
    const auto* end = get_if<double>(s.stack.peek(2));
    const auto* step = get_if<double>(c3);
    if (body == nullptr || variable == nullptr || end == nullptr || step == nullptr ||
        !s.symbols.valid_index(variable->index)) {
        return false;
    }
    SymbolEntry& v = s.symbols[variable->index];
    if (v.type != ValueType::Real) return false;
    const double following = v.number.re + *step;
    if (loop_is_over(*step, *end, following)) return false;
    v.set_real(following);
    pc = body->value;
    return true;
}

}  // namespace ostrac::vm::fast
