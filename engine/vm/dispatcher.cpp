#include "vm/dispatcher.h"

#include <limits>
#include <string>
#include <string_view>

#include "state/machine.h"
#include "vm/graph_commands.h"
#include "vm/assignment.h"
#include "vm/builtins.h"
#include "code/code_reader.h"
#include "vm/cursor.h"
#include "vm/control_flow.h"
#include "vm/data_files.h"
#include "vm/eval_load.h"
#include "vm/fast_paths.h"
#include "vm/input.h"
#include "vm/loops.h"
#include "vm/matrix_ops.h"
#include "state/name_cache.h"
#include "code/names.h"
#include "code/opcodes.h"
#include "vm/operators.h"
#include "vm/routines.h"
#include "state/stack_ops.h"
#include "vm/statements.h"
#include "state/symbols.h"

namespace ostrac::vm {

using state::DebugMode;

using state::IdentCell;
using state::IntCell;
using state::Machine;
using state::NameCache;
using state::NameSlots;
using state::SymbolEntry;
using state::create_entry;
using state::first_visible;
namespace kind = state::kind;
using state::lookup_or_create;
using state::lookup_scope;
using state::pop_int;
using state::push_text;

using code::Op;
using code::max_name_length;

void past_end(Machine& s) { s.fatal_error("Instruction runs past the end of its code block"); }

namespace {

using state::RunState;

[[gnu::always_inline]] inline void op_pushid(Machine& s, Cursor& c) {
    const std::uint8_t* site = c.code + c.pc;
    if (const NameCache::Entry* hit = s.name_cache.find(site, s.current_block, c.pc, s.symbols.epoch())) {
        // Outside EVAL code, the lowest candidate is the answer whenever it
        // is visible at all; anything else takes the whole rule.
        const NameSlots& candidates = *hit->candidates;
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
    case Op::DIV:
        c.call(op_div);
        break;
    case Op::POW:
        c.call(op_pow);
        break;
    case Op::NEG:
        c.call(op_neg);
        break;
    case Op::CROSS:
        c.call(op_cross);
        break;
    case Op::GLOBAL:
        c.call(op_global);
        break;
    case Op::MATRIX:
        c.call(op_matrix);
        break;
    case Op::SETCELL:
        c.call(op_setcell);
        break;
    case Op::PRINT:
        c.call(op_print);
        break;
    case Op::DEFFUNC:
        c.call([](Machine& session) { op_define(session, false); });
        break;
    case Op::DEFSUB:
        c.call([](Machine& session) { op_define(session, true); });
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
    case Op::EVAL:
        c.call(op_eval);
        break;
    case Op::LOAD:
        c.call(op_load);
        break;
    case Op::INPUT:
        c.call(op_input);
        break;
    case Op::ASSIGN:
        if (!fast::assign(c)) [[unlikely]] c.call(op_assign);
        break;
    case Op::POLAR:
        c.call(op_polar);
        break;
    case Op::LINE:
        c.call(op_line);
        break;
    case Op::SHOW:
        c.call(op_show);
        break;
    case Op::GOTO:
        c.call(op_goto);
        break;
    case Op::GOSUB:
        c.call(op_gosub);
        break;
    case Op::RETURN:
        c.call(op_return);
        break;
    case Op::HALT:
        c.save();
        op_halt(s);
    case Op::EXITFUNC:
        c.call(op_exitfunc);
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
    case Op::FOR:
        c.call(op_for);
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
    case Op::SIN:
        c.call(op_sin);
        break;
    case Op::COS:
        c.call(op_cos);
        break;
    case Op::TAN:
        c.call(op_tan);
        break;
    case Op::SINH:
        c.call(op_sinh);
        break;
    case Op::COSH:
        c.call(op_cosh);
        break;
    case Op::TANH:
        c.call(op_tanh);
        break;
    case Op::ASINH:
        c.call(op_asinh);
        break;
    case Op::ACOSH:
        c.call(op_acosh);
        break;
    case Op::ATANH:
        c.call(op_atanh);
        break;
    case Op::ASIN:
        c.call(op_asin);
        break;
    case Op::ACOS:
        c.call(op_acos);
        break;
    case Op::ATAN:
        c.call(op_atan);
        break;
    case Op::EXP:
        c.call(op_exp);
        break;
    case Op::LN:
        c.call(op_ln);
        break;
    case Op::SQRT:
        c.call(op_sqrt);
        break;
    case Op::REAL:
        c.call(op_real);
        break;
    case Op::IM:
        c.call(op_im);
        break;
    case Op::ARG:
        c.call(op_arg);
        break;
    case Op::ABS:
        c.call(op_abs);
        break;
    case Op::LOG10:
        c.call(op_log10);
        break;
    case Op::FRAC:
        c.call(op_frac);
        break;
    case Op::INT:
        c.call(op_int);
        break;
    case Op::ROUND:
        c.call(op_round);
        break;
    case Op::FACT:
        c.call(op_fact);
        break;
    case Op::NPR:
        c.call(op_npr);
        break;
    case Op::NCR:
        c.call(op_ncr);
        break;
    case Op::INV:
        c.call(op_inv);
        break;
    case Op::DET:
        c.call(op_det);
        break;
    case Op::TRANS:
        c.call(op_trans);
        break;
    case Op::ROWS:
        c.call(op_rows);
        break;
    case Op::COLS:
        c.call(op_cols);
        break;
    case Op::SUMX:
        c.call(op_sumx);
        break;
    case Op::SUMX2:
        c.call(op_sumx2);
        break;
    case Op::MEAN:
        c.call(op_mean);
        break;
    case Op::SDXN:
        c.call(op_sdxn);
        break;
    case Op::SDX:
        c.call(op_sdx);
        break;
    case Op::SUMXY:
        c.call(op_sumxy);
        break;
    case Op::COV:
        c.call(op_cov);
        break;
    case Op::CORR:
        c.call(op_corr);
        break;
    case Op::ZERPOL:
        c.call(op_zerpol);
        break;
    case Op::CU:
        c.call(op_cu);
        break;
    case Op::LEN:
        c.call(op_len);
        break;
    case Op::STR:
        c.call(op_str);
        break;
    case Op::SERIEXYM:
        c.call(vm::op_seriexym);
        break;
    case Op::SERIEXY:
        c.call(vm::op_seriexy);
        break;
    case Op::SERIEY:
        c.call(vm::op_seriey);
        break;
    case Op::TITLES:
        c.call(vm::op_titles);
        break;
    case Op::SETSERIE:
        c.call(vm::op_setserie);
        break;
    case Op::GCLEAR:
        c.call(vm::op_gclear);
        break;
    case Op::GRAPH:
        c.call(vm::op_graph);
        break;
    case Op::SAVEDATA:
        c.call(op_savedata);
        break;
    case Op::LOADDATA:
        c.call(op_loaddata);
        break;
    case Op::FLIST:
        c.call(op_flist);
        break;
    case Op::FCLS:
        c.call(op_fcls);
        break;
    case Op::UNUSED22:
    default:
        break;  // 22 and 103..255 name no instruction
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

int execute(Machine& s, int max_steps) {
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
