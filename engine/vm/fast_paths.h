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
    const Value* c3 = c.peek(3);
    if (c3 == nullptr) return false;
    const auto* body = get_if<BlockCell>(c.peek(0));
    const auto* variable = get_if<IdentCell>(c.peek(1));
    const auto* end = get_if<double>(c.peek(2));
    const auto* step = get_if<double>(c3);
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
[[gnu::always_inline]] inline bool params(Cursor& c) {
    // From the top: m, the m formals (the last first), the argument count,
    // the m arguments (the last first).
    const auto* formal_count = get_if<IntCell>(c.peek(0));
    if (formal_count == nullptr) return false;
    const int m = formal_count->value;
    // The first bound keeps 2 * m + 2 from overflowing: no stack holds more.
    if (m < 0 || m > OperandStack::capacity || c.depth < 2 * m + 2) return false;
    const auto* count = get_if<IntCell>(c.peek(m + 1));
    if (count == nullptr || count->value != m) return false;
    for (int j = 1; j <= m; ++j) {
        const auto* formal = get_if<IdentCell>(c.peek(j));
        if (formal == nullptr || !c.s.symbols.valid_index(formal->index)) return false;
        const std::int32_t k = c.s.symbols[formal->index].kind;
        if (k == kind::constant || k == kind::system) return false;
        const Value* argument = c.peek(m + 1 + j);
        if (!argument->holds<IdentCell>() && !argument->holds<double>() && !argument->holds<IntCell>()) {
            return false;
        }
    }
    for (int j = 1; j <= m; ++j) {
        SymbolEntry& e = c.s.symbols[get<IdentCell>(*c.peek(j)).index];
        const Value& argument = *c.peek(m + 1 + j);
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
    c.drop_scalars(2 * m + 2);
    return true;
}

// ENDFUNC of a function whose result is a real: its locals are freed, the
// caller goes on where it called, and the result is pushed. Procedures,
// other results and damaged frames are the handler's.
[[gnu::always_inline]] inline bool endfunc(Cursor& c) {
    const auto* block = get_if<BlockCell>(c.peek(0));
    const auto* ret = get_if<ReturnOffsetCell>(c.peek(1));
    if (block == nullptr || ret == nullptr) return false;
    const SymbolTable& table = c.s.symbols;
    const std::int32_t routine = c.s.current_block;
    const std::int32_t caller = block->value;
    const std::int32_t offset = ret->offset;
    if (!table.valid_index(caller) || !table[caller].has_code || offset < 0 ||
        offset > static_cast<std::int32_t>(table[caller].code.size()) || table[routine].type != ValueType::Real) {
        return false;
    }
    const double result = table[routine].number.re;
    release_scope(c.s, routine);
    c.drop_scalars(2);
    c.s.set_position(caller, offset);
    c.load_position();
    c.push(result);
    return true;
}

}  // namespace ostrac::vm::fast
