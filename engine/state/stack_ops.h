// Typed pushes and pops of the operand stack, with the checks and messages
// the language reports. Every failure stops the command through fatal_error.
#pragma once

#include <cstdint>
#include <string_view>

#include "state/machine.h"
#include "state/value.h"

namespace ostrac::state {

using state::Machine;

void push(Machine& s, Value v);
void push_text(Machine& s, std::string text);
void push_text(Machine& s, Text text);
void push_matrix(Machine& s, MatrixRef m);
void push_matrix(Machine& s, Matrix m);
// Looks the name up in the scope of the current block, creating it if absent.
void push_id_by_name(Machine& s, std::string_view name);
void push_loop_frame(Machine& s, std::int32_t skip, std::int32_t depth, std::int32_t body_start,
                     std::int32_t body_end);

Value pop(Machine& s);
Operand pop_operand(Machine& s);
Text pop_string(Machine& s);
MatrixRef pop_matrix(Machine& s);
std::int32_t pop_gosub(Machine& s);
// Returns the stack depth saved in the FOR frame.
std::int32_t pop_loop_frame(Machine& s);

// Failures of the inline pushes and pops below, kept out of line so that
// the paths every instruction takes stay short.
[[noreturn]] void stack_full(Machine& s);
// Reports "error bsp<0" when the stack is empty, `message` otherwise.
[[noreturn]] void refuse_top(Machine& s, const char* message);
// The general cases of pop_real and pop_int: every cell they accept, and
// their messages.
double pop_real_general(Machine& s);
std::int32_t pop_int_general(Machine& s);

// Scalar pushes. Scalars own nothing, so they are written in place.
template <class T>
inline void push_scalar(Machine& s, T v) {
    if (!s.stack.push_scalar(v)) stack_full(s);
}
inline void push_float(Machine& s, double v) { push_scalar(s, v); }
inline void push_int(Machine& s, std::int32_t v) { push_scalar(s, IntCell{v}); }
inline void push_id(Machine& s, std::int32_t index) { push_scalar(s, IdentCell{index}); }
inline void push_block(Machine& s, std::int32_t value) { push_scalar(s, BlockCell{value}); }
inline void push_gosub(Machine& s, std::int32_t offset) { push_scalar(s, GosubCell{offset}); }
// A complex whose imaginary part is exactly 0 is pushed as a float.
inline void push_number(Machine& s, Complex z) {
    if (z.im == 0.0) {
        push_scalar(s, z.re);
    } else {
        push_scalar(s, z);
    }
}
// A return frame: the offset at which to continue under the current block.
inline void push_frame(Machine& s, std::int32_t offset) {
    push_scalar(s, ReturnOffsetCell{offset});
    push_scalar(s, BlockCell{s.current_block});
}

// The typed pops read the top cell where it lies and then drop it. Each
// accepts scalar cells only, so dropping without a release loses nothing; a
// cell they refuse stops the command, and the reset empties the stack.

// The top cell as a T, popped; `message` when it is something else.
template <class T>
inline T pop_scalar(Machine& s, const char* message) {
    const Value* cell = s.stack.peek();
    const T* v = cell != nullptr ? get_if<T>(cell) : nullptr;
    if (v == nullptr) refuse_top(s, message);
    const T result = *v;
    s.stack.drop_scalars(1);
    return result;
}

inline std::int32_t pop_id(Machine& s) {
    const IdentCell id = pop_scalar<IdentCell>(s, "sID expected");
    if (!s.symbols.valid_index(id.index)) s.fatal_error("sID expected");
    return id.index;
}
inline std::int32_t pop_block(Machine& s) { return pop_scalar<BlockCell>(s, "waiting for addr1").value; }

// A real read from a cell as pop_operand reads it: a number, or a variable
// holding a real after following references as get_ref does. Anything else,
// a chain get_ref would refuse included, is left to the general paths.
// The real a variable holds, read as plain_real reads an identifier cell.
[[gnu::always_inline]] inline bool variable_real(const Machine& s, std::int32_t index, double& out) {
    for (int steps = 0; s.symbols[index].type == ValueType::Reference; ++steps) {
        index = s.symbols[index].ref;
        if (steps == 10 || !s.symbols.valid_index(index)) return false;
    }
    const SymbolEntry& e = s.symbols[index];
    if (e.type != ValueType::Real) return false;
    out = e.number.re;
    return true;
}

[[gnu::always_inline]] inline bool plain_real(const Machine& s, const Value& cell, double& out) {
    if (const auto* d = get_if<double>(&cell)) {
        out = *d;
        return true;
    }
    if (const auto* i = get_if<IntCell>(&cell)) {
        out = static_cast<double>(i->value);
        return true;
    }
    const auto* id = get_if<IdentCell>(&cell);
    return id != nullptr && s.symbols.valid_index(id->index) && variable_real(s, id->index, out);
}

inline double pop_real(Machine& s) {
    const Value* cell = s.stack.peek();
    double v = 0.0;
    if (cell == nullptr || !plain_real(s, *cell, v)) {
        return pop_real_general(s);
    }
    s.stack.drop_scalars(1);
    return v;
}

inline std::int32_t pop_int(Machine& s) {
    const Value* cell = s.stack.peek();
    const IntCell* i = cell != nullptr ? get_if<IntCell>(cell) : nullptr;
    if (i == nullptr) return pop_int_general(s);
    const std::int32_t v = i->value;
    s.stack.drop_scalars(1);
    return v;
}

Complex pop_number(Machine& s);

// Pops the argument count a built-in call pushed and checks it.
void expect_args(Machine& s, int n);

}  // namespace ostrac::state
