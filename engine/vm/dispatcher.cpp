#include "vm/dispatcher.h"

#include <array>
#include <limits>
#include <string>
#include <string_view>

#include "code/code_reader.h"
#include "code/names.h"
#include "code/opcodes.h"
#include "state/machine.h"
#include "state/name_cache.h"
#include "state/stack_ops.h"
#include "state/symbols.h"
#include "vm/assignment.h"
#include "vm/builtins.h"
#include "vm/control_flow.h"
#include "vm/cursor.h"
#include "vm/data_files.h"
#include "vm/decoded_blocks.h"
#include "vm/decoded_steps.h"
#include "vm/eval_load.h"
#include "vm/fast_paths.h"
#include "vm/graph_commands.h"
#include "vm/input.h"
#include "vm/loops.h"
#include "vm/matrix_ops.h"
#include "vm/operators.h"
#include "vm/routines.h"
#include "vm/statements.h"

namespace ostrac::vm {

namespace kind = state::kind;
using code::max_name_length;
using code::Op;
using state::create_entry;
using state::DebugMode;
using state::first_visible;
using state::IdentCell;
using state::IntCell;
using state::lookup_or_create;
using state::lookup_scope;
using state::Machine;
using state::NameCache;
using state::OperandStack;
using state::pop_int;
using state::push_text;
using state::SymbolEntry;

void past_end(Machine& s) { s.fatal_error("Instruction runs past the end of its code block"); }

namespace {

using state::RunState;

[[gnu::always_inline]] inline void op_pushid(Machine& s, Cursor& c) {
    const std::uint8_t* site = c.code + c.pc;
    if (const NameCache::Entry* hit = s.name_cache.find(site, s.current_block, c.pc, s.symbols.epoch())) {
        // Outside EVAL code, the lowest candidate is the answer whenever it
        // is visible at all; anything else takes the whole rule.
        const std::vector<int>& candidates = hit->candidates->indexes;
        if (!candidates.empty() && s.current_block != state::slot::EVAL0) {
            const std::int32_t first = candidates.front();
            const SymbolEntry& e = s.symbols[first];
            if (e.kind == s.current_block || e.has_code || e.kind == kind::constant || e.kind == kind::system) {
                c.pc = hit->next_pc;
                c.push(IdentCell{first});
                return;
            }
        }
        const std::int32_t index = first_visible(s, candidates, s.current_block);
        if (index >= 0) {
            c.pc = hit->next_pc;
            c.push(IdentCell{index});
            return;
        }
        // None visible: a new local or global of that name.
        const std::string_view name = c.read_text();
        c.save();
        const std::int32_t created = create_entry(s, name, lookup_scope(s, s.current_block), hit->candidates);
        c.push(IdentCell{created});
        return;
    }
    const std::int32_t offset = c.pc;
    const std::string_view name = c.read_text();
    c.save();
    if (name.size() > max_name_length) s.fatal_error("Error: Nombre de variable demasiado largo");
    const std::int32_t index = lookup_or_create(s, name, s.current_block);
    s.name_cache.store(s.current_block, offset, {site, s.symbols.epoch(), s.symbols.name_slots(name), c.pc});
    c.push(IdentCell{index});
}

// Line marker: records the line and, in debug mode, lets the debugger stop
// here. Code compiled by EVAL never stops, nor does a line typed at a stop.
void op_line(Machine& s) {
    const std::int32_t line = pop_int(s);
    // Lines count line ends from 0, and a step over aims at the next one.
    if (line < 0 || line == std::numeric_limits<std::int32_t>::max()) s.fatal_error("Invalid line number");
    s.current_line = line;
    if (s.debug_mode == DebugMode::Off || s.current_block == state::slot::EVAL0 || s.evaluating_at_pause) return;

    s.console_print("[line " + std::to_string(line) + "]\n");
    s.host.editor_show_line(line);
    const bool stop = s.debug_mode == DebugMode::EveryLine || (s.debug_mode == DebugMode::RunToTarget && line == s.target_line) ||
                      (s.debug_mode == DebugMode::StepOver && (s.target_line == -1 || line == s.target_line));
    if (stop) {
        // A Break that arrived meanwhile wins over the pause.
        RunState expected = RunState::Running;
        s.run_state.compare_exchange_strong(expected, RunState::Paused);
    }
}

using Handler = void (*)(Machine&);

// The handler of each opcode, from the opcode table; nullptr where the
// dispatch below performs the instruction itself.
constexpr std::array<Handler, code::op_count> handlers = {
#define OSTRAC_OP_HANDLER(num, name, operand, argc, handler) handler,
    OSTRAC_OPCODES(OSTRAC_OP_HANDLER)
#undef OSTRAC_OP_HANDLER
};

// Performs the instruction at the cursor and returns its opcode; inlined
// into both entry points so that a run of instructions pays for one call.
[[gnu::always_inline]] inline int dispatch(Machine& s, Cursor& c) {
    // One unsigned comparison also refuses a negative pc.
    if (static_cast<std::uint32_t>(c.pc) >= static_cast<std::uint32_t>(c.size)) [[unlikely]] c.fail_past_end();
    const std::uint8_t op = c.code[c.pc++];
    switch (static_cast<Op>(op)) {
    case Op::END:
        return 0;
    case Op::PUSHF:
        c.push(c.read_double());
        break;
    case Op::PUSHI:
        c.push(IntCell{c.read_int()});
        break;
    case Op::PUSHIMAG:
        c.push_number({0.0, c.read_double()});
        break;
    case Op::PUSHID:
        op_pushid(s, c);
        break;
    case Op::PUSHSTR:
        c.call([text = c.read_text()](Machine& session) { push_text(session, std::string(text)); });
        break;
    case Op::ADD:
        if (!fast::add(c)) [[unlikely]] c.call(op_add);
        break;
    case Op::SUB:
        if (!fast::sub(c)) [[unlikely]] c.call(op_sub);
        break;
    case Op::MUL:
        if (!fast::mul(c)) [[unlikely]] c.call(op_mul);
        break;
    case Op::ENDFUNC:
        if (!fast::endfunc(c)) [[unlikely]] c.call(op_endfunc);
        break;
    case Op::PARAMS:
        if (!fast::params(c)) [[unlikely]] c.call(op_params);
        break;
    case Op::CALL:
        if (!fast::call(c)) [[unlikely]] c.call(op_call);
        break;
    case Op::ASSIGN:
        if (!fast::assign(c)) [[unlikely]] c.call(op_assign);
        break;
    case Op::EQ:
        if (!fast::compare(c, [](double a, double b) { return a == b; })) [[unlikely]] c.call(op_eq);
        break;
    case Op::NE:
        if (!fast::compare(c, [](double a, double b) { return a != b; })) [[unlikely]] c.call(op_ne);
        break;
    case Op::GT:
        if (!fast::compare(c, [](double a, double b) { return a > b; })) [[unlikely]] c.call(op_gt);
        break;
    case Op::LT:
        if (!fast::compare(c, [](double a, double b) { return a < b; })) [[unlikely]] c.call(op_lt);
        break;
    case Op::GE:
        if (!fast::compare(c, [](double a, double b) { return a >= b; })) [[unlikely]] c.call(op_ge);
        break;
    case Op::LE:
        if (!fast::compare(c, [](double a, double b) { return a <= b; })) [[unlikely]] c.call(op_le);
        break;
    case Op::OR:
        if (!fast::compare(c, [](double a, double b) { return a != 0.0 || b != 0.0; })) [[unlikely]] c.call(op_or);
        break;
    case Op::AND:
        if (!fast::compare(c, [](double a, double b) { return a != 0.0 && b != 0.0; })) [[unlikely]] c.call(op_and);
        break;
    case Op::NEXT:
        if (!fast::next(c)) [[unlikely]] c.call(op_next);
        break;
    case Op::IF:
    case Op::JFALSE:
        if (!fast::branch(c)) [[unlikely]] c.call(op_if);
        break;
    case Op::JUMP:
        if (!fast::jump(c)) [[unlikely]] c.call(op_jump);
        break;
    case Op::MOD:
        if (!fast::mod(c)) [[unlikely]] c.call(op_mod);
        break;
    default:
        // The rest from the table; 22 and 103..255 name no instruction.
        if (op < code::op_count && handlers[op] != nullptr) c.call(handlers[op]);
        break;
    }
    return op;
}

}  // namespace

int execute_one(Machine& s) {
    Cursor c(s);
    const int op = dispatch(s, c);
    c.save();
    return op;
}

namespace {

// Runs the steps of the decoded form that fit the budget (at least two),
// and the byte code for the rest; stops where a run of single instructions
// would: after `budget` instructions, at the end of a block, or when the
// session is no longer Running (a Break, a debugger stop, an INPUT).
int run_decoded(Machine& s, int budget, DecodedBlocks& blocks) {
    Cursor c(s);
    const Step* step = blocks.locate(s, c.pc);
    for (;;) {
        if (budget >= max_joined_count && c.depth < OperandStack::capacity - max_step_reach) [[likely]] {
            // Far from the budget's end and the stack's top, every step fits,
            // with the one a call or a return joins to it, and leaves some
            // budget.
            if (const Step* next = decoded::perform<true>(c, *step, blocks, budget)) [[likely]] {
                budget -= step->count;
                if (s.run_state != RunState::Running) [[unlikely]] {
                    c.save();
                    return step->last_op;
                }
                step = next;
                continue;
            }
        } else if (step->count <= budget && c.depth + step->reach < OperandStack::capacity) {
            if (const Step* next = decoded::perform<false>(c, *step, blocks, budget)) {
                budget -= step->count;
                if (budget <= 0 || s.run_state != RunState::Running) {
                    c.save();
                    return step->last_op;
                }
                step = next;
                continue;
            }
        }
        // The byte code's own dispatch stays out of this loop, which keeps
        // its registers for the steps.
        c.save();
        const int op = execute_one(s);
        c.load();
        if (op == 0 || --budget <= 0 || s.run_state != RunState::Running) return op;
        step = blocks.locate(s, c.pc);
    }
}

}  // namespace

int execute(Machine& s, int max_steps) {
    // A single step runs the byte code itself.
    if (max_steps > 1 && s.decoded != nullptr) return run_decoded(s, max_steps, *s.decoded);
    Cursor c(s);
    for (;;) {
        const int op = dispatch(s, c);
        if (--max_steps <= 0 || op == 0 || s.run_state != RunState::Running) {
            c.save();
            return op;
        }
    }
}

}  // namespace ostrac::vm
