#include "vm/statements.h"

#include <variant>

#include "state/machine.h"
#include "state/stack_ops.h"
#include "vm/assignment.h"
#include "vm/routines.h"
#include "vm/value_print.h"

namespace ostrac::vm {

using state::get_if;
using state::IdentCell;
using state::pop;
using state::pop_int;
using state::pop_operand;
using state::push_id;
using state::push_int;
using state::slot::ANS;
using state::Value;
using state::ValueType;

void op_show(state::Machine& s) {
    if (s.stack.depth() > 0) {
        if (const auto* id = get_if<IdentCell>(&s.stack.top());
            id != nullptr && s.symbols[id->index].type == ValueType::Procedure) {
            const std::int32_t index = id->index;
            pop(s);
            if (!s.symbols[index].has_code) return;  // SUB0: nothing to show
            // Call the procedure with no arguments; it returns onto this
            // instruction, which then drops the SUB0 the call leaves.
            push_int(s, 0);
            push_id(s, index);
            --s.pc;
            op_call(s);
            return;
        }
    }
    const Value value = pop(s);
    store_value(s, ANS, value, false);
    push_id(s, ANS);
    push_int(s, 1);
    op_print(s);
}

void op_print(state::Machine& s) {
    const std::int32_t n = pop_int(s);
    if (n == 0) return;
    if (n < 0 || n > s.stack.depth()) s.fatal_error("error bsp<0");
    s.stack.reverse(n);
    print_value(s, pop_operand(s));
    if (n - 1 != 0) {
        s.stack.reverse(n - 1);
        push_int(s, n - 1);
        --s.pc;  // the next step prints the next value
    } else {
        s.console_print("\n");
    }
}

}  // namespace ostrac::vm
