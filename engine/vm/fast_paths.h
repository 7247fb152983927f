// The common cases of the busiest instructions, inlined into the dispatch
// loop. Each fast path either performs the whole instruction, leaving the
// session exactly as the instruction's handler would, or returns false
// having changed nothing; the handler then runs and reports any error.
// They work on the loop's cursor (vm/cursor.h), whose position and stack
// depth stand for the session's while the loop runs.
#pragma once

#include <cstdint>

#include "state/machine.h"
#include "state/stack_ops.h"
#include "state/symbols.h"
#include "vm/control_flow.h"
#include "vm/cursor.h"
#include "vm/loops.h"
#include "vm/operators.h"
#include "vm/routines.h"

namespace ostrac::vm::fast {

namespace kind = state::kind;
using state::BlockCell;
using state::IdentCell;
using state::IntCell;
using state::ReturnOffsetCell;
using state::SymbolEntry;
using state::SymbolTable;
using state::ValueType;

// Pops the top two cells when both hold plain reals (see plain_real), into
// left (the lower cell) and right; otherwise pops nothing and returns false.
[[gnu::always_inline]] inline bool pop_real_pair(Cursor& c, double& left, double& right) {
    const Value* r = c.peek(0);
    const Value* l = c.peek(1);
    if (l == nullptr || !plain_real(c.s, *r, right) || !plain_real(c.s, *l, left)) return false;
    c.drop_scalars(2);
    return true;
}

// Arithmetic and comparisons of two plain reals.
template <class Operation>
[[gnu::always_inline]] inline bool binary_real(Cursor& c, Operation operation) {
    double a = 0.0;
    double b = 0.0;
    if (!pop_real_pair(c, a, b)) return false;
    operation(a, b);
    return true;
}

[[gnu::always_inline]] inline bool add(Cursor& c) {
    return binary_real(c, [&](double a, double b) { c.push(a + b); });
}
[[gnu::always_inline]] inline bool sub(Cursor& c) {
    return binary_real(c, [&](double a, double b) { c.push(a - b); });
}
[[gnu::always_inline]] inline bool mul(Cursor& c) {
    return binary_real(c, [&](double a, double b) { c.push(a * b); });
}

[[gnu::always_inline]] inline bool mod(Cursor& c) {
    return binary_real(c, [&](double a, double b) { c.push(remainder_of(a, b)); });
}

template <class Relation>
[[gnu::always_inline]] inline bool compare(Cursor& c, Relation holds) {
    return binary_real(c, [&](double a, double b) { c.push(IntCell{holds(a, b) ? 1 : 0}); });
}

// A number stored into a variable that holds its own value (no reference,
// no constant, no system variable).
[[gnu::always_inline]] inline bool assign(Cursor& c) {
    const Value* target = c.peek(0);
    const Value* value = c.peek(1);
    if (value == nullptr) return false;
    const auto* id = get_if<IdentCell>(target);
    if (id == nullptr || !c.s.symbols.valid_index(id->index)) return false;
    double number = 0.0;
    if (const auto* d = get_if<double>(value)) {
        number = *d;
    } else if (const auto* i = get_if<IntCell>(value)) {
        number = static_cast<double>(i->value);
    } else {
        return false;
    }
    SymbolEntry& e = c.s.symbols[id->index];
    if (e.type == ValueType::Reference || e.kind == kind::constant || e.kind == kind::system) return false;
    e.set_real(number);
    c.drop_scalars(2);
    return true;
}

// IF and JFALSE on a plain real condition.
[[gnu::always_inline]] inline bool branch(Cursor& c) {
    const auto* distance = get_if<IntCell>(c.peek(0));
    const Value* condition = c.peek(1);
    double value = 0.0;
    if (distance == nullptr || condition == nullptr || !plain_real(c.s, *condition, value)) return false;
    const std::int32_t d = distance->value;
    c.drop_scalars(2);
    if (value == 0.0) c.pc = jump_target(c.pc, d, c.size);
    return true;
}

// JUMP by a whole-number distance.
[[gnu::always_inline]] inline bool jump(Cursor& c) {
    const auto* distance = get_if<IntCell>(c.peek(0));
    if (distance == nullptr) return false;
    const std::int32_t d = distance->value;
    c.drop_scalars(1);
    c.pc = jump_target(c.pc, d, c.size);
    return true;
}

// NEXT of a loop that goes on: the frame stays as it is, which is what
// popping and pushing it again leaves.
[[gnu::always_inline]] inline bool next(Cursor& c) {
    if (c.depth < 4) return false;
    // From the top: the body offset, the variable, the end, the step.
    const Value* top = c.cells + c.depth - 1;
    const auto* body = top[0].get_if<BlockCell>();
    const auto* variable = top[-1].get_if<IdentCell>();
    const auto* end = top[-2].get_if<double>();
    const auto* step = top[-3].get_if<double>();
    if (body == nullptr || variable == nullptr || end == nullptr || step == nullptr ||
        !c.s.symbols.valid_index(variable->index)) {
        return false;
    }
    SymbolEntry& v = c.s.symbols[variable->index];
    if (v.type != ValueType::Real) return false;
    const double following = v.number.re + *step;
    if (loop_is_over(*step, *end, following)) return false;
    v.set_real(following);
    c.pc = body->value;
    return true;
}

// CALL of a routine (an entry with code): the return frame goes under the
// arguments, their count on top, and the routine starts. Element reads of
// matrices and strings, and every failure, are the handler's.
[[gnu::always_inline]] inline bool call(Cursor& c) {
    const auto* id = get_if<IdentCell>(c.peek(0));
    const auto* count = get_if<IntCell>(c.peek(1));
    if (id == nullptr || count == nullptr || !c.s.symbols.valid_index(id->index) ||
        !c.s.symbols[id->index].has_code) {
        return false;
    }
    const std::int32_t routine = id->index;
    const int n = count->value;
    const int below = c.depth - 2;  // the depth once the id and the count are popped
    if (n < 0 || n > below || below + 3 >= OperandStack::capacity) return false;
    OperandStack::open_below(c.cells, below, n, ReturnOffsetCell{c.pc}, BlockCell{c.s.current_block});
    c.cells[below + 2].assign_scalar(IntCell{n});
    c.depth = below + 3;
    enter_routine(c.s, routine);
    c.load_position();
    return true;
}

// PARAMS binding each formal to its argument, the last first: a variable by
// reference, a number by value. Strings, matrices, complex numbers, constant
// or system formals, and every failure, are the handler's.

// Whether the arguments are bound here: `m` formal references lie under
// `above` cells (1: m itself), on the argument count and the m arguments
// (the last first, as the formals).
[[gnu::always_inline]] inline bool params_fit(const Cursor& c, int m, int above) {
    // The first bound keeps 2 * m + 1 + above from overflowing.
    if (m < 0 || m > OperandStack::capacity || c.depth < 2 * m + 1 + above) return false;
    const Value* top = c.cells + c.depth - 1 - above;
    const auto* count = get_if<IntCell>(top - m);
    if (count == nullptr || count->value != m) return false;
    for (int j = 0; j < m; ++j) {
        const auto* formal = get_if<IdentCell>(top - j);
        if (formal == nullptr || !c.s.symbols.valid_index(formal->index)) return false;
        const std::int32_t k = c.s.symbols[formal->index].kind;
        if (k == kind::constant || k == kind::system) return false;
        const Value& argument = top[-m - 1 - j];
        if (!argument.holds<IdentCell>() && !argument.holds<double>() && !argument.holds<IntCell>()) return false;
    }
    return true;
}

// Binds formal `e` to its argument: a variable by reference, a number by
// value.
[[gnu::always_inline]] inline void bind_argument(SymbolEntry& e, const Value& argument) {
    if (const auto* source = get_if<IdentCell>(&argument)) {
        e.set_real(0.0);
        e.type = ValueType::Reference;
        e.ref = source->index;
    } else if (const auto* d = get_if<double>(&argument)) {
        e.set_real(*d);
    } else {
        e.set_real(static_cast<double>(get<IntCell>(argument).value));
    }
}

// The binding itself, once params_fit has said yes.
[[gnu::always_inline]] inline void bind_params(Cursor& c, int m, int above) {
    const Value* top = c.cells + c.depth - 1 - above;
    for (int j = 0; j < m; ++j) bind_argument(c.s.symbols[get<IdentCell>(top[-j]).index], top[-m - 1 - j]);
    c.drop_scalars(2 * m + 1 + above);
}

[[gnu::always_inline]] inline bool params(Cursor& c) {
    const auto* formal_count = get_if<IntCell>(c.peek(0));
    if (formal_count == nullptr || !params_fit(c, formal_count->value, 1)) return false;
    bind_params(c, formal_count->value, 1);
    return true;
}

// ENDFUNC of a function whose result is a real: its locals are freed, the
// caller goes on where it called, and the result is pushed. Procedures,
// other results and damaged frames are the handler's.
[[gnu::always_inline]] inline bool endfunc(Cursor& c) {
    if (c.depth < 2) return false;
    // The return frame on top: the caller's block over its offset.
    const Value* top = c.cells + c.depth - 1;
    const auto* block = top[0].get_if<BlockCell>();
    const auto* ret = top[-1].get_if<ReturnOffsetCell>();
    if (block == nullptr || ret == nullptr) return false;
    SymbolTable& table = c.s.symbols;
    const std::int32_t routine = c.s.current_block;
    const std::int32_t caller = block->value;
    const std::int32_t offset = ret->offset;
    if (!table.valid_index(caller)) return false;
    const SymbolEntry& back = table[caller];
    const SymbolEntry& self = table[routine];
    if (!back.has_code || offset < 0 || offset > static_cast<std::int32_t>(back.code.size()) ||
        self.type != ValueType::Real) {
        return false;
    }
    const double result = self.number.re;
    c.s.set_position(caller, offset);
    c.load_position();
    release_scope(c.s, routine);
    // The result takes the place of the frame's two cells.
    c.depth -= 1;
    c.cells[c.depth - 1].assign_scalar(result);
    return true;
}

}  // namespace ostrac::vm::fast
