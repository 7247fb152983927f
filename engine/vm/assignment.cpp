#include "vm/assignment.h"

#include "state/machine.h"
#include "state/stack_ops.h"
#include "state/symbols.h"

namespace ostrac::vm {

using numeric::Complex;
using state::checknoconst;
using state::get;
using state::get_ref;
using state::IdentCell;
using state::IntCell;
using state::MatrixRef;
using state::pop_id;
using state::SymbolEntry;
using state::tag_of;
using state::Text;
using state::Value;
using state::ValueTag;
using state::ValueType;

void store_value(state::Machine& s, std::int32_t target, const Value& cell, bool bind) {
    checknoconst(s, target, cell);
    SymbolEntry& e = s.symbols[target];
    switch (tag_of(cell)) {
    case ValueTag::Float:
        e.set_real(get<double>(cell));
        break;
    case ValueTag::Int:
        e.set_real(static_cast<double>(get<IntCell>(cell).value));
        break;
    case ValueTag::Complex: {
        const Complex z = get<Complex>(cell);
        e.set_real(z.re);
        if (z.im != 0.0) {
            e.type = ValueType::Complex;
            e.number = z;
        }
        break;
    }
    case ValueTag::Ident: {
        const std::int32_t source = get<IdentCell>(cell).index;
        if (bind) {
            e.set_real(0.0);
            e.type = ValueType::Reference;
            e.ref = source;
            break;
        }
        const std::int32_t from = get_ref(s, source);
        if (from == target) break;
        const SymbolEntry& src = s.symbols[from];
        // The source may live in the same table as the target: copy the
        // handles before the target drops its own.
        const ValueType type = src.type;
        const Complex number = src.number;
        const std::int32_t ref = src.ref;
        Text text = src.text;
        MatrixRef matrix = src.matrix;
        e.type = type;
        e.number = number;
        e.ref = ref;
        e.text = std::move(text);
        e.matrix = std::move(matrix);
        break;
    }
    case ValueTag::String:
        e.set_real(0.0);
        e.type = ValueType::String;
        e.text = get<Text>(cell);
        break;
    case ValueTag::Matrix:
        e.set_real(0.0);
        e.type = ValueType::Matrix;
        e.matrix = get<MatrixRef>(cell);
        break;
    default:
        break;  // control cells store nothing
    }
}

void op_assign(state::Machine& s) {
    const std::int32_t target = get_ref(s, pop_id(s));
    // The value is stored from where it lies on the stack, then dropped.
    const Value* value = s.stack.peek();
    if (value == nullptr) s.fatal_error("error bsp<0");
    store_value(s, target, *value, false);
    s.stack.discard_top();
}

}  // namespace ostrac::vm
