// The steps of the decoded form (vm/decoded_block.h), performed on the
// dispatch loop's cursor. Each either performs every instruction it stands
// for, leaving the session exactly as the byte code would, and returns the
// step to run next; or it changes nothing and returns null, and the byte
// code runs the step's first instruction instead, with its general cases
// and its messages.
//
// The loop has checked that the step's instructions fit the run's budget
// and that the cells they push fit the stack.
#pragma once

#include <cstdint>
#include <string_view>

#include "code/opcodes.h"
#include "state/machine.h"
#include "state/stack_ops.h"
#include "state/symbols.h"
#include "vm/cursor.h"
#include "vm/decoded_block.h"
#include "vm/decoded_blocks.h"
#include "vm/fast_paths.h"
#include "vm/operators.h"
#include "vm/routines.h"

namespace ostrac::vm::decoded {

namespace kind = state::kind;
using code::Op;
using state::IdentCell;
using state::IntCell;
using state::NameSlots;
using state::SymbolEntry;
using state::ValueType;

// The slot a name denotes in the block being run (never EVAL0, which runs
// from the byte code), or -1 when it denotes none yet.
[[gnu::always_inline]] inline std::int32_t visible_slot(const Machine& s, NameRef& name) {
    const NameSlots& list = *name.list;
    if (name.seen == list.changes) [[likely]] return name.slot;
    // The lookup's rule for code outside EVAL0 (state::first_visible).
    std::int32_t found = -1;
    for (const int index : list.indexes) {
        const SymbolEntry& e = s.symbols[index];
        if (e.kind == s.current_block || e.has_code || e.kind == kind::constant || e.kind == kind::system) {
            found = index;
            break;
        }
    }
    name.slot = found;
    name.seen = list.changes;
    return found;
}

// The real an operand holds; `taken` counts the stack cells read so far,
// the top first.
[[gnu::always_inline]] inline bool operand_real(const Cursor& c, const Operand& o, int& taken, double& out) {
    switch (o.from) {
    case From::Number:
        out = o.number;
        return true;
    case From::Name: {
        const std::int32_t slot = visible_slot(c.s, *o.name);
        return slot >= 0 && state::variable_real(c.s, slot, out);
    }
    case From::Same:
        return true;  // `out` holds it already (chain)
    case From::Stack:
        break;
    }
    const Value* cell = c.peek(taken++);
    return cell != nullptr && state::plain_real(c.s, *cell, out);
}

// The entry ASSIGN stores a number into: the variable's own, or the one its
// references lead to; -1 for a name not yet created, a chain get_ref
// refuses, a constant and a system variable.
[[gnu::always_inline]] inline std::int32_t store_target(const Machine& s, NameRef& name) {
    std::int32_t slot = visible_slot(s, name);
    if (slot < 0) return -1;
    for (int steps = 0; s.symbols[slot].type == ValueType::Reference; ++steps) {
        slot = s.symbols[slot].ref;
        if (steps == 10 || !s.symbols.valid_index(slot)) return -1;
    }
    const std::int32_t k = s.symbols[slot].kind;
    return k == kind::constant || k == kind::system ? -1 : slot;
}

// An operator on two reals, as its instruction computes them.
// Sums and products, the most frequent, are tested before the table jump.
[[gnu::always_inline]] inline double apply(Op op, double left, double right) {
    if (op == Op::ADD) return left + right;
    if (op == Op::MUL) return left * right;
    switch (op) {
    case Op::SUB: return left - right;
    case Op::MOD: return remainder_of(left, right);
    case Op::EQ: return left == right;
    case Op::NE: return left != right;
    case Op::GT: return left > right;
    case Op::LT: return left < right;
    case Op::GE: return left >= right;
    case Op::LE: return left <= right;
    case Op::OR: return left != 0.0 || right != 0.0;
    case Op::AND: return left != 0.0 && right != 0.0;
    default: return left;
    }
}

// Where a chain's value goes: pushed, stored or tested. `taken` cells of
// the stack were read.
[[gnu::always_inline]] inline const Step* finish(Cursor& c, const Step& st, double value, int taken) {
    switch (st.result) {
    case Result::Push: {
        c.drop_scalars(taken);
        c.pc = st.next_pc;
        // Comparisons and logic push an int, arithmetic a float.
        const Op last = st.links[st.link_count - 1].op;
        if (last >= Op::EQ && last <= Op::AND) {
            c.push(IntCell{value != 0.0 ? 1 : 0});
        } else {
            c.push(value);
        }
        return &st + st.count;
    }
    case Result::Store: {
        // A variable stored alone carries its type and payload along: the
        // byte code copies it.
        if (st.link_count == 1 && st.links->operand.from == From::Stack && c.peek(0)->holds<IdentCell>()) {
            return nullptr;
        }
        const std::int32_t target = store_target(c.s, *st.name);
        if (target < 0) return nullptr;
        c.drop_scalars(taken);
        c.s.symbols[target].set_real(value);
        c.pc = st.next_pc;
        return &st + st.count;
    }
    case Result::Branch:
        c.drop_scalars(taken);
        if (value == 0.0) {
            c.pc = st.target_pc;
            return st.target;
        }
        c.pc = st.next_pc;
        return &st + st.count;
    }
    return nullptr;
}

// A chain of `Links` links, each length made into straight code.
template <int Links>
[[gnu::always_inline]] inline const Step* chain(Cursor& c, const Step& st) {
    const Link* link = st.links;
    int taken = 0;
    // With two operands on the stack, the second lies on top.
    double second = 0.0;
    if constexpr (Links > 1) {
        if (link[1].operand.from == From::Stack && !operand_real(c, link[1].operand, taken, second)) return nullptr;
    }
    double value = 0.0;
    if (!operand_real(c, link[0].operand, taken, value)) return nullptr;
    double last = value;  // the operand read last, for From::Same
    for (int j = 1; j < Links; ++j) {
        double right = link[j].operand.from == From::Same ? last : second;
        if (link[j].operand.from != From::Stack && !operand_real(c, link[j].operand, taken, right)) return nullptr;
        last = right;
        value = apply(link[j].op, value, right);
    }
    return finish(c, st, value, taken);
}

// The commonest lengths are tested before the table jump.
[[gnu::always_inline]] inline const Step* expression(Cursor& c, const Step& st) {
    static_assert(max_links == 4);
    if (st.link_count == 2) return chain<2>(c, st);
    if (st.link_count == 3) return chain<3>(c, st);
    switch (st.link_count) {
    case 1: return chain<1>(c, st);
    case 4: return chain<4>(c, st);
    default: return nullptr;
    }
}

// The entry PUSHID finds for a name: `slot`, its visible entry, or when there
// is none, a new one. A local of this routine, freed when its last call
// ended, comes back in its own slot. `moved` tells that a slot that owned
// code may have been taken.
[[gnu::always_inline]] inline std::int32_t find_or_create(Cursor& c, NameRef& name, std::int32_t slot, bool& moved) {
    if (slot >= 0) [[likely]] return slot;
    const std::vector<int>& slots = name.list->indexes;
    if (!slots.empty() && c.s.symbols.retake(slots.front(), c.s.current_block, name.text, name.list)) {
        slot = slots.front();
    } else {
        c.save();
        moved = true;
        slot = state::create_entry(c.s, name.text, c.s.current_block, name.list);
    }
    // No slot of the name was visible: the new one is the name's answer now.
    name.slot = slot;
    name.seen = name.list->changes;
    return slot;
}

// PUSHID of each formal, PUSHI count, PARAMS: the formals, created where
// they do not exist, are bound to the arguments. Whatever the binding would
// refuse is checked before any formal is created. `M` is the count of
// formals, each count made into straight code.
template <int M>
[[gnu::always_inline]] inline const Step* params_of(Cursor& c, const Step& st, DecodedBlocks& blocks) {
    // From the top: the argument count, the M arguments (the last first).
    if (c.depth < M + 1) return nullptr;
    const Value* top = c.cells + c.depth - 1;
    const auto* count = get_if<IntCell>(top);
    if (count == nullptr || count->value != M) return nullptr;
    std::int32_t slots[M + 1];
    for (int j = 0; j < M; ++j) {
        const Value& argument = top[-1 - j];
        if (!argument.holds<IdentCell>() && !argument.holds<double>() && !argument.holds<IntCell>()) return nullptr;
        // Distinct names: creating one formal changes no other's slot.
        slots[j] = visible_slot(c.s, *st.links[j].operand.name);
        if (slots[j] < 0) continue;
        const std::int32_t k = c.s.symbols[slots[j]].kind;
        if (k == kind::constant || k == kind::system) return nullptr;
    }
    c.pc = st.next_pc;
    bool moved = false;
    for (int j = 0; j < M; ++j) slots[j] = find_or_create(c, *st.links[j].operand.name, slots[j], moved);
    // A new formal is its routine's local: neither constant nor system. The
    // first formal takes the deepest argument.
    for (int j = 0; j < M; ++j) fast::bind_argument(c.s.symbols[slots[j]], top[j - M]);
    c.drop_scalars(M + 1);
    return moved ? blocks.locate(c.s, c.pc) : &st + st.count;
}

// One formal, the commonest, is tested before the table jump.
[[gnu::always_inline]] inline const Step* params(Cursor& c, const Step& st, DecodedBlocks& blocks) {
    static_assert(max_pushes == 3);
    if (st.integer == 1) return params_of<1>(c, st, blocks);
    switch (st.integer) {
    case 0: return params_of<0>(c, st, blocks);
    case 2: return params_of<2>(c, st, blocks);
    case 3: return params_of<3>(c, st, blocks);
    default: return nullptr;
    }
}

// The first step of the routine just entered. With `Join`, a PARAMS there
// runs at once, as part of the call's step, and its instructions count
// against the budget; the loop has left room for both (max_joined_count).
// The call raised the depth, so PARAMS's own reach is checked here.
template <bool Join>
[[gnu::always_inline]] inline const Step* first_step(Cursor& c, DecodedBlocks& blocks, int& budget) {
    const Step* first = blocks.locate_first(c.s);
    if constexpr (Join) {
        if (first->form == Form::Params && c.depth + first->reach < state::OperandStack::capacity) {
            if (const Step* after = params(c, *first, blocks)) {
                budget -= first->count;
                return after;
            }
        }
    }
    return first;
}

// Pushes of names and numbers, PUSHI count, PUSHID routine, CALL: the
// return frame goes under the arguments, their count on top, and the routine
// starts. Names not yet created, anything but a routine in the called name,
// and a count the stack does not hold, are the byte code's. `Pushes` is the
// step's count of pushes, each count made into straight code.
template <bool Join, int Pushes>
[[gnu::always_inline]] inline const Step* call_after(Cursor& c, const Step& st, DecodedBlocks& blocks, int& budget) {
    const std::int32_t routine = visible_slot(c.s, *st.name);
    const int n = st.integer;
    const int pushed = c.depth + Pushes;
    if (routine < 0 || !c.s.symbols[routine].has_code || n < 0 || n > pushed ||
        pushed + 3 >= state::OperandStack::capacity) {
        return nullptr;
    }
    std::int32_t slots[Pushes + 1];
    for (int j = 0; j < Pushes; ++j) {
        const Operand& o = st.links[j].operand;
        if (o.from == From::Name && (slots[j] = visible_slot(c.s, *o.name)) < 0) return nullptr;
    }
    // The return frame goes under the last n cells. When the pushes hold
    // them all, every cell is written in its place, above the frame or
    // under it; otherwise the cells above the frame move up to make room.
    const int frame = pushed - n;
    const bool in_place = n <= Pushes;
    // In place, the pushes from `split` on lie above the frame.
    const int split = in_place ? Pushes - n : Pushes;
    for (int j = 0; j < Pushes; ++j) {
        const Operand& o = st.links[j].operand;
        Value& cell = c.cells[c.depth + j + (j >= split ? 2 : 0)];
        if (o.from == From::Name) {
            cell.assign_scalar(IdentCell{slots[j]});
        } else {
            cell.assign_scalar(o.number);
        }
    }
    if (in_place) {
        c.cells[frame].assign_scalar(state::ReturnOffsetCell{st.next_pc});
        c.cells[frame + 1].assign_scalar(state::BlockCell{c.s.current_block});
    } else {
        state::OperandStack::open_below(c.cells, pushed, n, state::ReturnOffsetCell{st.next_pc},
                                        state::BlockCell{c.s.current_block});
    }
    c.cells[pushed + 2].assign_scalar(IntCell{n});
    c.depth = pushed + 3;
    enter_routine(c.s, routine);
    c.load_position();
    return first_step<Join>(c, blocks, budget);
}

template <bool Join>
[[gnu::always_inline]] inline const Step* call(Cursor& c, const Step& st, DecodedBlocks& blocks, int& budget) {
    static_assert(max_pushes == 3);
    switch (st.link_count) {
    case 0: return call_after<Join, 0>(c, st, blocks, budget);
    case 1: return call_after<Join, 1>(c, st, blocks, budget);
    case 2: return call_after<Join, 2>(c, st, blocks, budget);
    case 3: return call_after<Join, 3>(c, st, blocks, budget);
    default: return nullptr;
    }
}

// PUSHID: the visible entry, created when there is none.
[[gnu::always_inline]] inline const Step* push_name(Cursor& c, const Step& st, DecodedBlocks& blocks) {
    bool moved = false;
    c.pc = st.next_pc;
    c.push(IdentCell{find_or_create(c, *st.name, visible_slot(c.s, *st.name), moved)});
    return moved ? blocks.locate(c.s, c.pc) : &st + 1;
}

// ENDFUNC of a function whose result is a real. With `Join`, an expression
// where the caller goes on (the result's use, most often) runs at once, as
// part of this step, counted against the budget; the depth only fell, so it
// fits the stack as any step does.
template <bool Join>
[[gnu::always_inline]] inline const Step* end_func(Cursor& c, DecodedBlocks& blocks, int& budget) {
    if (!fast::endfunc(c)) return nullptr;
    const Step* back = blocks.locate(c.s, c.pc);
    if constexpr (Join) {
        if (back->form == Form::Expression) {
            if (const Step* after = expression(c, *back)) {
                budget -= back->count;
                return after;
            }
        }
    }
    return back;
}

// NEXT goes back to the body in the same block. With `Join`, a call or an
// expression that starts the body runs at once, as part of this step,
// counted against the budget; NEXT left the depth as it was.
template <bool Join>
[[gnu::always_inline]] inline const Step* next(Cursor& c, const Step& st, DecodedBlocks& blocks, int& budget) {
    if (!fast::next(c)) return nullptr;
    const Step* body = st.block->at(c.pc);
    if constexpr (Join) {
        const Step* after = nullptr;
        if (body->form == Form::Call) {
            after = call<Join>(c, *body, blocks, budget);
        } else if (body->form == Form::Expression) {
            after = expression(c, *body);
        }
        if (after != nullptr) {
            budget -= body->count;
            return after;
        }
    }
    return body;
}

// Performs a step; null when the byte code is to run instead. With `Join`
// (the budget holds max_joined_count), a call, a function's end or NEXT may
// run the step that follows as well, and takes its count off `budget`.
template <bool Join>
[[gnu::always_inline]] inline const Step* perform(Cursor& c, const Step& st, DecodedBlocks& blocks, int& budget) {
    switch (st.form) {
    case Form::PushNumber:
        c.pc = st.next_pc;
        c.push(st.number);
        return &st + 1;
    case Form::PushInt:
        c.pc = st.next_pc;
        c.push(IntCell{st.integer});
        return &st + 1;
    case Form::PushName:
        return push_name(c, st, blocks);
    case Form::Expression:
        return expression(c, st);
    case Form::Jump:
        c.pc = st.target_pc;
        return st.target;
    case Form::Call:
        return call<Join>(c, st, blocks, budget);
    case Form::Params:
        return params(c, st, blocks);
    case Form::EndFunc:
        return end_func<Join>(c, blocks, budget);
    case Form::Next:
        return next<Join>(c, st, blocks, budget);
    case Form::Bytecode:
        break;
    default:
        // Decoding sets no other form: the table jump needs no range test.
        __builtin_unreachable();
    }
    return nullptr;
}

}  // namespace ostrac::vm::decoded
