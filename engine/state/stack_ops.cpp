#include "state/stack_ops.h"

#include <cmath>
#include <new>
#include <utility>

#include "state/conversions.h"
#include "state/machine.h"
#include "state/symbols.h"

namespace ostrac::state {

void push(Machine& s, Value v) {
    if (!s.stack.push(std::move(v))) s.fatal_error("MAXSTACK Reached!!");
}

void stack_full(Machine& s) { s.fatal_error("MAXSTACK Reached!!"); }

void refuse_top(Machine& s, const char* message) {
    s.fatal_error(s.stack.empty() ? "error bsp<0" : message);
}

void push_id_by_name(Machine& s, std::string_view name) {
    push_id(s, lookup_or_create(s, name, s.current_block));
}

void push_text(Machine& s, std::string text) {
    push(s, Value{std::make_shared<const std::string>(std::move(text))});
}

void push_text(Machine& s, Text text) { push(s, Value{std::move(text)}); }

void push_matrix(Machine& s, MatrixRef m) { push(s, Value{std::move(m)}); }

void push_matrix(Machine& s, Matrix m) { push_matrix(s, std::make_shared<Matrix>(std::move(m))); }

void push_loop_frame(Machine& s, std::int32_t skip, std::int32_t depth, std::int32_t body_start,
                     std::int32_t body_end) {
    push_scalar(s, LoopFrameCell{loop_kind_for, skip, s.current_block, depth, body_start, body_end});
}

Value pop(Machine& s) {
    Value v;
    if (!s.stack.pop(v)) s.fatal_error("error bsp<0");
    return v;
}

namespace {

// The top cell, for a typed pop that reads it in place; an empty stack stops
// the command as a pop would.
const Value& top_cell(Machine& s) {
    const Value* cell = s.stack.peek();
    if (cell == nullptr) s.fatal_error("error bsp<0");
    return *cell;
}

// The entry a reference cell stands for, after following references.
const state::SymbolEntry& resolved(Machine& s, const IdentCell& id) {
    return s.symbols[get_ref(s, id.index)];
}

}  // namespace

std::int32_t pop_int_general(Machine& s) {
    const Value& v = top_cell(s);
    std::int32_t result = 0;
    if (const auto* i = get_if<IntCell>(&v)) {
        result = i->value;
    } else if (const auto* id = get_if<IdentCell>(&v)) {
        const SymbolEntry& e = resolved(s, *id);
        if (e.type != ValueType::Real) s.fatal_error("int expected");
        result = floor_to_int32(e.number.re);
    } else {
        s.fatal_error("int expected");
    }
    s.stack.drop_scalars(1);
    return result;
}

double pop_real_general(Machine& s) {
    const Value& v = top_cell(s);
    double result = 0.0;
    if (const auto* d = get_if<double>(&v)) {
        result = *d;
    } else if (const auto* i = get_if<IntCell>(&v)) {
        result = static_cast<double>(i->value);
    } else if (const auto* id = get_if<IdentCell>(&v)) {
        const SymbolEntry& e = resolved(s, *id);
        if (e.type != ValueType::Real) s.fatal_error("float expected");
        result = e.number.re;
    } else {
        s.fatal_error("float expected");
    }
    s.stack.drop_scalars(1);
    return result;
}

Complex pop_number(Machine& s) {
    const Value& v = top_cell(s);
    Complex result;
    if (const auto* d = get_if<double>(&v)) {
        result = {*d, 0.0};
    } else if (const auto* z = get_if<Complex>(&v)) {
        result = *z;
    } else if (const auto* id = get_if<IdentCell>(&v)) {
        const SymbolEntry& e = resolved(s, *id);
        if (e.type == ValueType::Real) {
            result = {e.number.re, 0.0};
        } else if (e.type == ValueType::Complex) {
            result = e.number;
        } else {
            s.fatal_error("float expected");
        }
    } else {
        s.fatal_error("float expected");
    }
    s.stack.drop_scalars(1);
    return result;
}

Operand pop_operand(Machine& s) {
    Value v = pop(s);
    Operand out;
    switch (tag_of(v)) {
    case ValueTag::Float:
        out.number = {get<double>(v), 0.0};
        break;
    case ValueTag::Int:
        out.number = {static_cast<double>(get<IntCell>(v).value), 0.0};
        break;
    case ValueTag::Complex:
        out.number = get<Complex>(v);
        if (out.number.im != 0.0) out.type = ValueType::Complex;
        break;
    case ValueTag::Ident: {
        const SymbolEntry& e = resolved(s, get<IdentCell>(v));
        out.type = e.type;
        out.number = e.number;
        if (e.type == ValueType::Real) out.number.im = 0.0;
        if (e.type == ValueType::String) out.text = e.text;
        if (e.type == ValueType::Matrix) out.matrix = e.matrix;
        break;
    }
    case ValueTag::String:
        out.type = ValueType::String;
        out.text = std::move(get<Text>(v));
        break;
    case ValueTag::Matrix:
        out.type = ValueType::Matrix;
        out.matrix = std::move(get<MatrixRef>(v));
        break;
    case ValueTag::Block:
        out.number = {static_cast<double>(get<BlockCell>(v).value), 0.0};
        break;
    case ValueTag::ReturnOffset:
        out.number = {static_cast<double>(get<ReturnOffsetCell>(v).offset), 0.0};
        break;
    case ValueTag::Gosub:
        out.number = {static_cast<double>(get<GosubCell>(v).offset), 0.0};
        break;
    case ValueTag::LoopFrame:
        out.number = {static_cast<double>(get<LoopFrameCell>(v).kind), 0.0};
        break;
    }
    return out;
}

Text pop_string(Machine& s) {
    Operand op = pop_operand(s);
    if (op.type != ValueType::String || !op.text) s.fatal_error("sSTRING expected");
    return std::move(op.text);
}

MatrixRef pop_matrix(Machine& s) {
    Operand op = pop_operand(s);
    if (op.type != ValueType::Matrix || !op.matrix) s.fatal_error("Incorrect type");
    return std::move(op.matrix);
}

std::int32_t pop_gosub(Machine& s) {
    const auto* g = get_if<GosubCell>(&top_cell(s));
    if (g == nullptr) s.fatal_error("RETURN without GOSUB");
    const std::int32_t offset = g->offset;
    s.stack.drop_scalars(1);
    return offset;
}

std::int32_t pop_loop_frame(Machine& s) {
    const auto* f = get_if<LoopFrameCell>(&top_cell(s));
    if (f == nullptr) s.fatal_error("Stack Error, waiting for STACKBLOCK");
    const std::int32_t depth = f->depth;
    s.stack.drop_scalars(1);
    return depth;
}

void expect_args(Machine& s, int n) {
    if (pop_int(s) != n) s.fatal_error("Number of parameters is incorrect");
}

}  // namespace ostrac::state
