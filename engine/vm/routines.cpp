#include "vm/routines.h"

#include <array>
#include <new>
#include <variant>

#include "state/machine.h"
#include "state/stack_ops.h"
#include "state/symbols.h"
#include "vm/assignment.h"
#include "vm/frames.h"
#include "vm/matrix_ops.h"

namespace ostrac::vm {

namespace kind = state::kind;
using state::BlockCell;
using state::get_ref;
using state::holds_alternative;
using state::Machine;
using state::OperandStack;
using state::pop_id;
using state::pop_int;
using state::push_float;
using state::push_id;
using state::push_int;
using state::push_matrix;
using state::push_number;
using state::push_text;
using state::release_scope;
using state::ReturnOffsetCell;
using state::slot::EVAL0;
using state::slot::PROC0;
using state::slot::SUB0;
using state::SymbolEntry;
using state::Value;
using state::ValueType;

namespace {

// Whether a definition may give `id` a body: not a protected routine of the
// start-up file, not one of the engine's own names (the two main blocks,
// the constants, the system variables), and not a routine that is running,
// whose code would be replaced under it.
bool may_define(const Machine& s, std::int32_t id) {
    const std::int32_t k = s.symbols[id].kind;
    return id != PROC0 && id != EVAL0 && k != kind::constant && k != kind::system &&
           k != kind::protected_function && k != kind::protected_procedure && !block_in_use(s, id);
}

}  // namespace

void op_define(Machine& s, bool procedure) {
    const std::int32_t id = pop_id(s);
    const std::int32_t end = pop_int(s);
    // A body's end position is an offset in PROC0; inside another routine or
    // EVAL it would point anywhere.
    if (s.current_block != PROC0) s.fatal_error("A function cannot be defined within another function");
    if (!may_define(s, id)) s.fatal_error("The function name is not allowed");
    SymbolEntry& e = s.symbols[id];
    if (end < s.pc || end > s.code_size) s.fatal_error("Invalid end of function body");

    std::vector<std::uint8_t> body;
    try {
        body.assign(s.code + s.pc, s.code + end);
    } catch (const std::bad_alloc&) {
        s.fatal_error("Insuficient memory for creating function");
    }
    s.symbols.set_kind(id, procedure ? kind::procedure : kind::function);
    if (procedure) e.type = ValueType::Procedure;
    s.symbols.set_code(id, std::move(body));
    s.pc = end;
}

void op_deffunc(Machine& s) { op_define(s, false); }

void op_defsub(Machine& s) { op_define(s, true); }

void op_params(Machine& s) {
    const std::int32_t m = pop_int(s);
    if (m < 0 || m >= s.stack.depth()) s.fatal_error("Number of parameters is incorrect");
    std::array<std::int32_t, OperandStack::capacity> formals;  // m < depth <= capacity; [0, m) filled below
    for (std::int32_t i = m - 1; i >= 0; --i) formals[static_cast<std::size_t>(i)] = pop_id(s);
    const std::int32_t n = pop_int(s);
    if (n != m) s.fatal_error("Number of parameters is incorrect");
    // A plain variable argument binds by reference, anything else by value.
    for (std::int32_t i = m - 1; i >= 0; --i) {
        const Value* argument = s.stack.peek();
        if (argument == nullptr) s.fatal_error("error bsp<0");
        store_value(s, formals[static_cast<std::size_t>(i)], *argument, true);
        s.stack.discard_top();
    }
}

void op_call(Machine& s) {
    const std::int32_t id = pop_id(s);
    if (s.symbols[id].has_code) {
        const std::int32_t n = pop_int(s);
        if (n < 0 || n > s.stack.depth()) s.fatal_error("Number of parameters is incorrect");
        // The return frame goes under the arguments.
        if (!s.stack.insert_below(n, ReturnOffsetCell{s.pc}, BlockCell{s.current_block})) {
            s.fatal_error("MAXSTACK Reached!!");
        }
        push_int(s, n);
        enter_routine(s, id);
        return;
    }
    const SymbolEntry& target = s.symbols[get_ref(s, id)];
    if (target.type == ValueType::Matrix) {
        matrix_element_read(s, target.matrix);
        return;
    }
    if (target.type == ValueType::String) {
        string_char_read(s, target.text);
        return;
    }
    s.console_print("No Defined Function:(" + s.symbols[id].name + ")\n");
    s.fatal_error("");
}

void push_entry_value(Machine& s, std::int32_t index) {
    const SymbolEntry& e = s.symbols[get_ref(s, index)];
    switch (e.type) {
    case ValueType::Complex:
        push_number(s, e.number);
        break;
    case ValueType::String:
        push_text(s, e.text);
        break;
    case ValueType::Matrix:
        push_matrix(s, e.matrix);
        break;
    case ValueType::Procedure:
        push_id(s, SUB0);
        break;
    default:
        push_float(s, e.number.re);
        break;
    }
}

namespace {

// The result a finished routine leaves: its value, or SUB0 for a procedure.
void push_result(Machine& s, std::int32_t routine) {
    if (s.symbols[routine].type == ValueType::Procedure) {
        push_id(s, SUB0);
    } else {
        push_entry_value(s, routine);
    }
}

}  // namespace

void op_endfunc(Machine& s) {
    const std::int32_t routine = s.current_block;
    release_scope(s, routine);
    return_from_block(s);
    push_result(s, routine);
}

void op_exitfunc(Machine& s) {
    const std::int32_t routine = s.current_block;
    if (routine == PROC0 || routine == EVAL0) s.fatal_error("Cannot return from fucntion");
    release_scope(s, routine);
    for (int p = s.stack.depth() - 1; p >= 1; --p) {
        if (holds_alternative<BlockCell>(s.stack.at(p)) &&
            holds_alternative<ReturnOffsetCell>(s.stack.at(p - 1))) {
            s.stack.cut(p + 1);
            return_from_block(s);
            push_result(s, routine);
            return;
        }
    }
    s.fatal_error("Cannot return from fucntion");
}

}  // namespace ostrac::vm
