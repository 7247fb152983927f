#include "vm/dispatcher.h"

#include <string>
#include <string_view>

#include "session/session.h"
#include "graph/graph_commands.h"
#include "vm/assignment.h"
#include "vm/builtins.h"
#include "vm/code_reader.h"
#include "vm/control_flow.h"
#include "vm/data_files.h"
#include "vm/eval_load.h"
#include "vm/fast_paths.h"
#include "vm/input.h"
#include "vm/loops.h"
#include "vm/matrix_ops.h"
#include "vm/name_cache.h"
#include "vm/names.h"
#include "vm/opcodes.h"
#include "vm/operators.h"
#include "vm/routines.h"
#include "vm/stack_ops.h"
#include "vm/statements.h"
#include "vm/symbols.h"

namespace ostrac::vm {

namespace {

using session::RunState;
using session::Session;

// Inline operand readers: each checks that the operand lies inside the block.
[[noreturn]] void past_end(Session& s) {
    s.fatal_error("Instruction runs past the end of its code block");
}

std::int32_t read_int(Session& s) {
    if (s.code_size - s.pc < 4) past_end(s);
    const std::int32_t v = read_i32(s.code + s.pc);
    s.pc += 4;
    return v;
}

double read_double(Session& s) {
    if (s.code_size - s.pc < 8) past_end(s);
    const double v = read_f64(s.code + s.pc);
    s.pc += 8;
    return v;
}

// The length byte is skipped: the text runs to its zero byte.
std::string_view read_text(Session& s) {
    if (s.code_size - s.pc < 1) past_end(s);
    ++s.pc;
    const auto* start = reinterpret_cast<const char*>(s.code + s.pc);
    std::int32_t end = s.pc;
    while (end < s.code_size && s.code[end] != 0) ++end;
    if (end == s.code_size) past_end(s);
    std::string_view text(start, static_cast<std::size_t>(end - s.pc));
    s.pc = end + 1;
    return text;
}

[[gnu::always_inline]] inline void op_pushid(Session& s) {
    const std::uint8_t* site = s.code + s.pc;
    if (const NameCache::Entry* hit = s.name_cache.find(site, s.symbols.epoch())) {
        const std::int32_t index = first_visible(s, *hit->candidates, s.current_block);
        if (index >= 0) {
            s.pc = hit->next_pc;
            push_id(s, index);
            return;
        }
        // None visible: a new local or global of that name.
        const std::string_view name = read_text(s);
        push_id(s, create_entry(s, name, lookup_scope(s, s.current_block), hit->candidates));
        return;
    }
    const std::string_view name = read_text(s);
    if (name.size() > max_name_length) s.fatal_error("Error: Nombre de variable demasiado largo");
    const std::int32_t index = lookup_or_create(s, name, s.current_block);
    s.name_cache.store({site, s.symbols.epoch(), s.symbols.name_slots(name), s.pc});
    push_id(s, index);
}

// Line marker: records the line and, in debug mode, lets the debugger stop
// here. Code compiled by EVAL never stops, nor does a line typed at a stop.
void op_line(Session& s) {
    const std::int32_t line = pop_int(s);
    s.current_line = line;
    if (s.debug_mode == 0 || s.current_block == session::slot::EVAL0 || s.evaluating_at_pause) return;

    s.console_print("[line " + std::to_string(line) + "]\n");
    s.host.editor_show_line(line);
    const bool stop = s.debug_mode == 2 || (s.debug_mode == 1 && line == s.target_line) ||
                      (s.debug_mode == 3 && (s.target_line == -1 || line == s.target_line));
    if (stop) {
        // A Break that arrived meanwhile wins over the pause.
        RunState expected = RunState::Running;
        s.run_state.compare_exchange_strong(expected, RunState::Paused);
    }
}

}  // namespace

namespace {

// The body of execute_one, inlined into both entry points so that a run of
// instructions pays for one call.
[[gnu::always_inline]] inline int dispatch(Session& s) {
    // One unsigned comparison also refuses a negative pc.
    if (static_cast<std::uint32_t>(s.pc) >= static_cast<std::uint32_t>(s.code_size)) past_end(s);
    const std::uint8_t op = s.code[s.pc++];
    switch (static_cast<Op>(op)) {
    case Op::END:
        return 0;
    case Op::PUSHF:
        push_float(s, read_double(s));
        break;
    case Op::PUSHI:
        push_int(s, read_int(s));
        break;
    case Op::PUSHIMAG:
        push_number(s, {0.0, read_double(s)});
        break;
    case Op::PUSHID:
        op_pushid(s);
        break;
    case Op::PUSHSTR:
        push_text(s, std::string(read_text(s)));
        break;
    case Op::ADD:
        if (!fast::add(s)) op_add(s);
        break;
    case Op::SUB:
        if (!fast::sub(s)) op_sub(s);
        break;
    case Op::MUL:
        if (!fast::mul(s)) op_mul(s);
        break;
    case Op::DIV:
        op_div(s);
        break;
    case Op::POW:
        op_pow(s);
        break;
    case Op::NEG:
        op_neg(s);
        break;
    case Op::CROSS:
        op_cross(s);
        break;
    case Op::GLOBAL:
        op_global(s);
        break;
    case Op::MATRIX:
        op_matrix(s);
        break;
    case Op::SETCELL:
        op_setcell(s);
        break;
    case Op::PRINT:
        op_print(s);
        break;
    case Op::DEFFUNC:
        op_define(s, false);
        break;
    case Op::DEFSUB:
        op_define(s, true);
        break;
    case Op::ENDFUNC:
        op_endfunc(s);
        break;
    case Op::PARAMS:
        op_params(s);
        break;
    case Op::CALL:
        op_call(s);
        break;
    case Op::EVAL:
        op_eval(s);
        break;
    case Op::LOAD:
        op_load(s);
        break;
    case Op::INPUT:
        op_input(s);
        break;
    case Op::ASSIGN:
        if (!fast::assign(s)) op_assign(s);
        break;
    case Op::POLAR:
        op_polar(s);
        break;
    case Op::LINE:
        op_line(s);
        break;
    case Op::SHOW:
        op_show(s);
        break;
    case Op::GOTO:
        op_goto(s);
        break;
    case Op::GOSUB:
        op_gosub(s);
        break;
    case Op::RETURN:
        op_return(s);
        break;
    case Op::HALT:
        op_halt(s);
    case Op::EXITFUNC:
        op_exitfunc(s);
        break;
    case Op::EQ:
        if (!fast::compare(s, [](double a, double b) { return a == b; })) op_eq(s);
        break;
    case Op::NE:
        if (!fast::compare(s, [](double a, double b) { return a != b; })) op_ne(s);
        break;
    case Op::GT:
        if (!fast::compare(s, [](double a, double b) { return a > b; })) op_gt(s);
        break;
    case Op::LT:
        if (!fast::compare(s, [](double a, double b) { return a < b; })) op_lt(s);
        break;
    case Op::GE:
        if (!fast::compare(s, [](double a, double b) { return a >= b; })) op_ge(s);
        break;
    case Op::LE:
        if (!fast::compare(s, [](double a, double b) { return a <= b; })) op_le(s);
        break;
    case Op::OR:
        if (!fast::compare(s, [](double a, double b) { return a != 0.0 || b != 0.0; })) op_or(s);
        break;
    case Op::AND:
        if (!fast::compare(s, [](double a, double b) { return a != 0.0 && b != 0.0; })) op_and(s);
        break;
    case Op::FOR:
        op_for(s);
        break;
    case Op::NEXT:
        if (!fast::next(s)) op_next(s);
        break;
    case Op::IF:
    case Op::JFALSE:
        if (!fast::branch(s)) op_if(s);
        break;
    case Op::JUMP:
        op_jump(s);
        break;
    case Op::MOD:
        op_mod(s);
        break;
    case Op::SIN:
        op_sin(s);
        break;
    case Op::COS:
        op_cos(s);
        break;
    case Op::TAN:
        op_tan(s);
        break;
    case Op::SINH:
        op_sinh(s);
        break;
    case Op::COSH:
        op_cosh(s);
        break;
    case Op::TANH:
        op_tanh(s);
        break;
    case Op::ASINH:
        op_asinh(s);
        break;
    case Op::ACOSH:
        op_acosh(s);
        break;
    case Op::ATANH:
        op_atanh(s);
        break;
    case Op::ASIN:
        op_asin(s);
        break;
    case Op::ACOS:
        op_acos(s);
        break;
    case Op::ATAN:
        op_atan(s);
        break;
    case Op::EXP:
        op_exp(s);
        break;
    case Op::LN:
        op_ln(s);
        break;
    case Op::SQRT:
        op_sqrt(s);
        break;
    case Op::REAL:
        op_real(s);
        break;
    case Op::IM:
        op_im(s);
        break;
    case Op::ARG:
        op_arg(s);
        break;
    case Op::ABS:
        op_abs(s);
        break;
    case Op::LOG10:
        op_log10(s);
        break;
    case Op::FRAC:
        op_frac(s);
        break;
    case Op::INT:
        op_int(s);
        break;
    case Op::ROUND:
        op_round(s);
        break;
    case Op::FACT:
        op_fact(s);
        break;
    case Op::NPR:
        op_npr(s);
        break;
    case Op::NCR:
        op_ncr(s);
        break;
    case Op::INV:
        op_inv(s);
        break;
    case Op::DET:
        op_det(s);
        break;
    case Op::TRANS:
        op_trans(s);
        break;
    case Op::ROWS:
        op_rows(s);
        break;
    case Op::COLS:
        op_cols(s);
        break;
    case Op::SUMX:
        op_sumx(s);
        break;
    case Op::SUMX2:
        op_sumx2(s);
        break;
    case Op::MEAN:
        op_mean(s);
        break;
    case Op::SDXN:
        op_sdxn(s);
        break;
    case Op::SDX:
        op_sdx(s);
        break;
    case Op::SUMXY:
        op_sumxy(s);
        break;
    case Op::COV:
        op_cov(s);
        break;
    case Op::CORR:
        op_corr(s);
        break;
    case Op::ZERPOL:
        op_zerpol(s);
        break;
    case Op::CU:
        op_cu(s);
        break;
    case Op::LEN:
        op_len(s);
        break;
    case Op::STR:
        op_str(s);
        break;
    case Op::SERIEXYM:
        graph::op_seriexym(s);
        break;
    case Op::SERIEXY:
        graph::op_seriexy(s);
        break;
    case Op::SERIEY:
        graph::op_seriey(s);
        break;
    case Op::TITLES:
        graph::op_titles(s);
        break;
    case Op::SETSERIE:
        graph::op_setserie(s);
        break;
    case Op::GCLEAR:
        graph::op_gclear(s);
        break;
    case Op::GRAPH:
        graph::op_graph(s);
        break;
    case Op::SAVEDATA:
        op_savedata(s);
        break;
    case Op::LOADDATA:
        op_loaddata(s);
        break;
    case Op::FLIST:
        op_flist(s);
        break;
    case Op::FCLS:
        op_fcls(s);
        break;
    case Op::UNUSED22:
    default:
        break;  // 22 and 103..255 name no instruction
    }
    return op;
}
}  // namespace

int execute_one(Session& s) { return dispatch(s); }

int execute(Session& s, int max_steps) {
    for (;;) {
        const int op = dispatch(s);
        if (--max_steps <= 0 || op == 0 || s.run_state != RunState::Running) return op;
    }
}

}  // namespace ostrac::vm
