#include "vm/stack_ops.h"

#include <cmath>
#include <new>
#include <utility>

#include "session/session.h"
#include "vm/conversions.h"
#include "vm/symbols.h"

namespace ostrac::vm {

using session::slot::SUB0;

void push(Session& s, Value v) {
    if (!s.stack.push(std::move(v))) s.fatal_error("MAXSTACK Reached!!");
}

void push_float(Session& s, double v) { push(s, Value{v}); }
void push_int(Session& s, std::int32_t v) { push(s, Value{IntCell{v}}); }

void push_number(Session& s, Complex z) {
    if (z.im == 0.0) {
        push(s, Value{z.re});
    } else {
        push(s, Value{z});
    }
}

void push_id(Session& s, std::int32_t index) { push(s, Value{IdentCell{index}}); }

void push_id_by_name(Session& s, std::string_view name) {
    push_id(s, lookup_or_create(s, name, s.current_block));
}

void push_text(Session& s, std::string text) {
    push(s, Value{std::make_shared<const std::string>(std::move(text))});
}

void push_text(Session& s, Text text) { push(s, Value{std::move(text)}); }

void push_matrix(Session& s, MatrixRef m) { push(s, Value{std::move(m)}); }

void push_matrix(Session& s, Matrix m) { push_matrix(s, std::make_shared<Matrix>(std::move(m))); }

void push_frame(Session& s, std::int32_t offset) {
    push(s, Value{ReturnOffsetCell{offset}});
    push(s, Value{BlockCell{s.current_block}});
}

void push_block(Session& s, std::int32_t value) { push(s, Value{BlockCell{value}}); }

void push_gosub(Session& s, std::int32_t offset) { push(s, Value{GosubCell{offset}}); }

void push_loop_frame(Session& s, std::int32_t skip, std::int32_t depth, std::int32_t body_start,
                     std::int32_t body_end) {
    push(s, Value{LoopFrameCell{loop_kind_for, skip, s.current_block, depth, body_start, body_end}});
}

Value pop(Session& s) {
    Value v;
    if (!s.stack.pop(v)) s.fatal_error("error bsp<0");
    return v;
}

std::int32_t pop_id(Session& s) {
    Value v = pop(s);
    const auto* id = std::get_if<IdentCell>(&v);
    if (id == nullptr || !s.symbols.valid_index(id->index)) s.fatal_error("sID expected");
    return id->index;
}

namespace {

// The entry a reference cell stands for, after following references.
const vm::SymbolEntry& resolved(Session& s, const IdentCell& id) {
    return s.symbols[get_ref(s, id.index)];
}

}  // namespace

std::int32_t pop_int(Session& s) {
    Value v = pop(s);
    if (const auto* i = std::get_if<IntCell>(&v)) return i->value;
    if (const auto* id = std::get_if<IdentCell>(&v)) {
        const SymbolEntry& e = resolved(s, *id);
        if (e.type == ValueType::Real) return floor_to_int32(e.number.re);
    }
    s.fatal_error("int expected");
}

double pop_real(Session& s) {
    Value v = pop(s);
    if (const auto* d = std::get_if<double>(&v)) return *d;
    if (const auto* i = std::get_if<IntCell>(&v)) return static_cast<double>(i->value);
    if (const auto* id = std::get_if<IdentCell>(&v)) {
        const SymbolEntry& e = resolved(s, *id);
        if (e.type == ValueType::Real) return e.number.re;
    }
    s.fatal_error("float expected");
}

Complex pop_number(Session& s) {
    Value v = pop(s);
    if (const auto* d = std::get_if<double>(&v)) return {*d, 0.0};
    if (const auto* z = std::get_if<Complex>(&v)) return *z;
    if (const auto* id = std::get_if<IdentCell>(&v)) {
        const SymbolEntry& e = resolved(s, *id);
        if (e.type == ValueType::Real) return {e.number.re, 0.0};
        if (e.type == ValueType::Complex) return e.number;
    }
    s.fatal_error("float expected");
}

Operand pop_operand(Session& s) {
    Value v = pop(s);
    Operand out;
    switch (tag_of(v)) {
    case ValueTag::Float:
        out.number = {std::get<double>(v), 0.0};
        break;
    case ValueTag::Int:
        out.number = {static_cast<double>(std::get<IntCell>(v).value), 0.0};
        break;
    case ValueTag::Complex:
        out.number = std::get<Complex>(v);
        if (out.number.im != 0.0) out.type = ValueType::Complex;
        break;
    case ValueTag::Ident: {
        const SymbolEntry& e = resolved(s, std::get<IdentCell>(v));
        out.type = e.type;
        out.number = e.number;
        if (e.type == ValueType::Real) out.number.im = 0.0;
        if (e.type == ValueType::String) out.text = e.text;
        if (e.type == ValueType::Matrix) out.matrix = e.matrix;
        break;
    }
    case ValueTag::String:
        out.type = ValueType::String;
        out.text = std::move(std::get<Text>(v));
        break;
    case ValueTag::Matrix:
        out.type = ValueType::Matrix;
        out.matrix = std::move(std::get<MatrixRef>(v));
        break;
    case ValueTag::Block:
        out.number = {static_cast<double>(std::get<BlockCell>(v).value), 0.0};
        break;
    case ValueTag::ReturnOffset:
        out.number = {static_cast<double>(std::get<ReturnOffsetCell>(v).offset), 0.0};
        break;
    case ValueTag::Gosub:
        out.number = {static_cast<double>(std::get<GosubCell>(v).offset), 0.0};
        break;
    case ValueTag::LoopFrame:
        out.number = {static_cast<double>(std::get<LoopFrameCell>(v).kind), 0.0};
        break;
    }
    return out;
}

Text pop_string(Session& s) {
    Operand op = pop_operand(s);
    if (op.type != ValueType::String || !op.text) s.fatal_error("sSTRING expected");
    return std::move(op.text);
}

MatrixRef pop_matrix(Session& s) {
    Operand op = pop_operand(s);
    if (op.type != ValueType::Matrix || !op.matrix) s.fatal_error("Incorrect type");
    return std::move(op.matrix);
}

std::int32_t pop_block(Session& s) {
    Value v = pop(s);
    const auto* b = std::get_if<BlockCell>(&v);
    if (b == nullptr) s.fatal_error("waiting for addr1");
    return b->value;
}

std::int32_t pop_gosub(Session& s) {
    Value v = pop(s);
    const auto* g = std::get_if<GosubCell>(&v);
    if (g == nullptr) s.fatal_error("RETURN without GOSUB");
    return g->offset;
}

std::int32_t pop_loop_frame(Session& s) {
    Value v = pop(s);
    const auto* f = std::get_if<LoopFrameCell>(&v);
    if (f == nullptr) s.fatal_error("Stack Error, waiting for STACKBLOCK");
    return f->depth;
}

void expect_args(Session& s, int n) {
    if (pop_int(s) != n) s.fatal_error("Number of parameters is incorrect");
}

}  // namespace ostrac::vm
