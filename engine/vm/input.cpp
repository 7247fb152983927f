#include "vm/input.h"

#include <string>

#include "state/machine.h"
#include "state/stack_ops.h"
#include "state/symbols.h"
#include "vm/eval_load.h"
#include "vm/number_format.h"

namespace ostrac::vm {

using state::get_ref;
using state::pop_id;
using state::pop_int;
using state::push_id;
using state::push_int;
using state::SymbolEntry;
using state::ValueType;

namespace {

using state::Machine;
using state::RunState;

std::string prompt_for(const SymbolEntry& e) {
    std::string prompt = e.name;
    if (e.type == ValueType::Real) {
        prompt += "[";
        append_general(prompt, e.number.re, 4);
        prompt += "]?";
    } else if (e.type == ValueType::String) {
        prompt += "[" + *e.text + "]?";
    } else {
        prompt += "?";
    }
    return prompt;
}

void ask(Machine& s) {
    const std::int32_t n = pop_int(s);
    if (n == 0) return;
    if (n < 0 || n > s.stack.depth()) s.fatal_error("error bsp<0");
    s.stack.reverse(n);
    const std::int32_t variable = get_ref(s, pop_id(s));
    push_id(s, variable);
    push_int(s, n);
    s.input_answer_phase = true;
    --s.pc;  // run again when the answer has arrived
    s.set_prompt(prompt_for(s.symbols[variable]));
    RunState expected = RunState::Running;
    s.run_state.compare_exchange_strong(expected, RunState::Idle);
}

void take_answer(Machine& s) {
    s.run_state = RunState::Running;
    s.input_answer_phase = false;
    const std::int32_t n = pop_int(s);
    const std::int32_t variable = pop_id(s);
    const bool more = n > 1;
    if (more) {
        s.stack.reverse(n - 1);
        push_int(s, n - 1);
    }
    const std::int32_t at_input = s.pc - 1;

    if (s.input_line.empty() || s.input_line == " ") {
        if (more) {
            s.pc = at_input;
        } else {
            s.set_prompt(">>");
        }
        return;
    }
    const std::string assignment = s.symbols[variable].name + "=" + s.input_line;
    if (!more) s.set_prompt(">>");
    eval_text(s, assignment, more ? at_input : s.pc);
}

}  // namespace

void op_input(Machine& s) {
    if (s.input_answer_phase) {
        take_answer(s);
    } else {
        ask(s);
    }
}

}  // namespace ostrac::vm
