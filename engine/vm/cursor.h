// The dispatch loop's view of the session: the execution position and the
// operand stack's depth, held in locals the compiler keeps in registers
// (every member function is inlined, so the cursor's address never escapes)
// rather than in the session, where every instruction would store them and
// load them back (a chain of memory round trips through each instruction).
//
// Handlers find both in the session: `call` writes them there before a
// handler runs and reads them back after. Every other way out of the loop
// (an error, the end of a run) writes them back first as well.
#pragma once

#include <cstdint>
#include <string_view>

#include "code/code_reader.h"
#include "state/machine.h"
#include "state/operand_stack.h"
#include "state/stack_ops.h"

namespace ostrac::vm {

using code::read_f64;
using code::read_i32;
using numeric::Complex;
using state::Machine;
using state::OperandStack;
using state::push;
using state::push_number;
using state::stack_full;
using state::Value;

[[noreturn]] void past_end(Machine& s);

struct Cursor {
    Machine& s;
    const std::uint8_t* code = nullptr;
    std::int32_t pc = 0;
    std::int32_t size = 0;
    Value* cells = nullptr;
    int depth = 0;

    explicit Cursor(Machine& session) : s(session) { load(); }

    [[gnu::always_inline]] void load() {
        load_position();
        cells = s.stack.cells();
        depth = s.stack.depth();
    }
    // After set_position: the block and offset the session now runs.
    [[gnu::always_inline]] void load_position() {
        code = s.code;
        pc = s.pc;
        size = s.code_size;
    }
    [[gnu::always_inline]] void save() const {
        s.pc = pc;
        s.stack.set_depth(depth);
    }

    template <class Handler>
    [[gnu::always_inline]] void call(Handler handler) {
        save();
        handler(s);
        load();
    }

    [[noreturn, gnu::always_inline]] void fail_past_end() {
        save();
        past_end(s);
    }

    // Inline operand readers: each checks that the operand lies inside the block.
    [[gnu::always_inline]] std::int32_t read_int() {
        if (size - pc < 4) [[unlikely]] fail_past_end();
        const std::int32_t v = read_i32(code + pc);
        pc += 4;
        return v;
    }

    [[gnu::always_inline]] double read_double() {
        if (size - pc < 8) [[unlikely]] fail_past_end();
        const double v = read_f64(code + pc);
        pc += 8;
        return v;
    }

    // The length byte is skipped: the text runs to its zero byte.
    [[gnu::always_inline]] std::string_view read_text() {
        if (size - pc < 1) fail_past_end();
        ++pc;
        const auto* start = reinterpret_cast<const char*>(code + pc);
        std::int32_t end = pc;
        while (end < size && code[end] != 0) ++end;
        if (end == size) fail_past_end();
        std::string_view text(start, static_cast<std::size_t>(end - pc));
        pc = end + 1;
        return text;
    }

    // The operand stack, as OperandStack offers it for scalars.
    [[gnu::always_inline]] const Value* peek(int n = 0) const { return n < depth ? &cells[depth - 1 - n] : nullptr; }

    template <class T>
    [[gnu::always_inline]] void push(T v) {
        cells[depth].assign_scalar(v);  // free cells hold no handles
        if (++depth >= OperandStack::capacity) [[unlikely]] {
            save();
            stack_full(s);
        }
    }

    // A complex whose imaginary part is exactly 0 is pushed as a float.
    [[gnu::always_inline]] void push_number(Complex z) {
        if (z.im == 0.0) {
            push(z.re);
        } else {
            push(z);
        }
    }

    [[gnu::always_inline]] void drop_scalars(int n) { depth -= n; }
};

}  // namespace ostrac::vm
