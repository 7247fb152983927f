// The instruction set, declared once. Every other list of opcodes (the enum,
// the names shown by the disassembler, the operand kinds the readers expect,
// the argument counts of built-ins, the dispatcher's handlers) is derived
// from this table.
//
// Encoding: one opcode byte; only PUSHF, PUSHI, PUSHIMAG, PUSHID and PUSHSTR
// carry inline operands (little-endian). Everything else takes its operands
// from the operand stack; jump distances, argument counts and line numbers
// travel as ints pushed by PUSHI just before the consuming instruction.
//
// Stack effects are written bottom..top before "->", what is left after it;
// cnt is the argument count pushed last. Distances count from the offset
// just after the consuming instruction. Every built-in (a row with a count)
// checks cnt against its row, takes its arguments last first, and leaves
// one cell: its result, or a reference to SUB0 for a command.
//
// Notes on the irregular rows:
// - IF and JFALSE share a handler: they differ only in where the compiler
//   places them (conditions, loops).
// - 22 names no instruction; neither do the bytes past the table. Both do
//   nothing and a program goes on with the next byte.
// - HALT never returns: it ends the program through the error path.
// - PRINT and INPUT handle one item per step, leaving the program counter on
//   their own opcode until the last one.
// - The handler column names the virtual machine's function for the row;
//   nullptr marks the instructions the dispatcher performs itself (END and
//   the pushes, which read inline operands).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace ostrac::code {

// Inline operand that follows the opcode byte.
enum class Inline : std::uint8_t {
    None,
    Double,  // 8 bytes, IEEE double
    Int32,   // 4 bytes, signed
    Text,    // 1 length byte (not relied on), the characters, a zero byte
};

// X(number, NAME, inline operand, built-in argument count or -1, handler)
#define OSTRAC_OPCODES(X) \
    X(0, END, None, -1, nullptr)           /* end of block                                           */ \
    X(1, PUSHF, Double, -1, nullptr)       /* -> float: the inline double                            */ \
    X(2, PUSHI, Int32, -1, nullptr)        /* -> int: the inline integer (distances, counts, lines)  */ \
    X(3, PUSHIMAG, Double, -1, nullptr)    /* -> complex: 0 + v i (a float 0 when v is 0)            */ \
    X(4, PUSHID, Text, -1, nullptr)        /* -> id: the name in this scope, created if absent       */ \
    X(5, PUSHSTR, Text, -1, nullptr)       /* -> string: the inline text                             */ \
    X(6, ADD, None, -1, op_add)            /* a b -> a+b                                             */ \
    X(7, SUB, None, -1, op_sub)            /* a b -> a-b                                             */ \
    X(8, MUL, None, -1, op_mul)            /* a b -> a*b                                             */ \
    X(9, DIV, None, -1, op_div)            /* a b -> a/b                                             */ \
    X(10, POW, None, -1, op_pow)           /* a b -> a^b                                             */ \
    X(11, NEG, None, -1, op_neg)           /* a -> -a                                                */ \
    X(12, CROSS, None, -1, op_cross)       /* u v -> u x v: cross product of two 1x3 rows            */ \
    X(13, GLOBAL, None, -1, op_global)     /* id1..idn cnt -> : names shared with the globals        */ \
    X(14, MATRIX, None, -1, op_matrix)     /* elements and counts by row, row count -> matrix        */ \
    X(15, SETCELL, None, -1, op_setcell)   /* value indexes cnt id -> : a matrix cell or a character */ \
    X(16, PRINT, None, -1, op_print)       /* v1..vn cnt -> : one item per step (see the notes)      */ \
    X(17, DEFFUNC, None, -1, op_deffunc)   /* endpos id -> : define a function (endpos absolute)     */ \
    X(18, DEFSUB, None, -1, op_defsub)     /* endpos id -> : define a procedure (endpos absolute)    */ \
    X(19, ENDFUNC, None, -1, op_endfunc)   /* -> id: end of a routine body, back to the caller       */ \
    X(20, PARAMS, None, -1, op_params)     /* a1..an cnt p1..pm m -> : bind the parameters           */ \
    X(21, CALL, None, -1, op_call)         /* a1..an cnt id -> result: call, or index a variable     */ \
    X(22, UNUSED22, None, -1, nullptr)     /* - : names no instruction                               */ \
    X(23, EVAL, None, -1, op_eval)         /* string -> : compile and run a text                     */ \
    X(24, LOAD, None, -1, op_load)         /* filename -> : compile and run a program file           */ \
    X(25, INPUT, None, -1, op_input)       /* id1..idn cnt -> : one question per step                */ \
    X(26, ASSIGN, None, -1, op_assign)     /* value id ->                                            */ \
    X(27, POLAR, None, -1, op_polar)       /* r angle -> complex                                     */ \
    X(28, LINE, None, -1, op_line)         /* line -> : line marker, where the debugger stops        */ \
    X(29, LEN, None, 1, op_len)            /* s cnt -> float                                         */ \
    X(30, SHOW, None, -1, op_show)         /* value -> : expression statement, into ANS and printed  */ \
    X(31, GOTO, None, -1, op_goto)         /* dist ->                                                */ \
    X(32, GOSUB, None, -1, op_gosub)       /* dist -> return address                                 */ \
    X(33, RETURN, None, -1, op_return)     /* return address ->                                      */ \
    X(34, HALT, None, -1, op_halt)         /* - : stops the program with an error, never returns     */ \
    X(35, EXITFUNC, None, -1, op_exitfunc) /* ... -> id: leave the routine at once                   */ \
    X(36, EQ, None, -1, op_eq)             /* a b -> int                                             */ \
    X(37, NE, None, -1, op_ne)             /* a b -> int                                             */ \
    X(38, GT, None, -1, op_gt)             /* a b -> int                                             */ \
    X(39, LT, None, -1, op_lt)             /* a b -> int                                             */ \
    X(40, GE, None, -1, op_ge)             /* a b -> int                                             */ \
    X(41, LE, None, -1, op_le)             /* a b -> int                                             */ \
    X(42, OR, None, -1, op_or)             /* a b -> int                                             */ \
    X(43, AND, None, -1, op_and)           /* a b -> int                                             */ \
    X(44, FOR, None, -1, op_for)           /* start end step id dist -> loop frame, or skip the loop */ \
    X(45, NEXT, None, -1, op_next)         /* loop frame -> loop frame (again) or nothing (done)     */ \
    X(46, IF, None, -1, op_if)             /* cond dist -> : jump when cond is 0                     */ \
    X(47, JUMP, None, -1, op_jump)         /* dist ->                                                */ \
    X(48, JFALSE, None, -1, op_if)         /* cond dist -> : jump when cond is 0 (loops)             */ \
    X(49, INV, None, 1, op_inv)            /* m cnt -> m                                             */ \
    X(50, DET, None, 1, op_det)            /* m cnt -> x                                             */ \
    X(51, TRANS, None, 1, op_trans)        /* m cnt -> m                                             */ \
    X(52, SIN, None, 1, op_sin)            /* x cnt -> y                                             */ \
    X(53, COS, None, 1, op_cos)            /* x cnt -> y                                             */ \
    X(54, TAN, None, 1, op_tan)            /* x cnt -> y                                             */ \
    X(55, SINH, None, 1, op_sinh)          /* x cnt -> y                                             */ \
    X(56, COSH, None, 1, op_cosh)          /* x cnt -> y                                             */ \
    X(57, TANH, None, 1, op_tanh)          /* x cnt -> y                                             */ \
    X(58, ASINH, None, 1, op_asinh)        /* x cnt -> y                                             */ \
    X(59, ACOSH, None, 1, op_acosh)        /* x cnt -> y                                             */ \
    X(60, ATANH, None, 1, op_atanh)        /* x cnt -> y                                             */ \
    X(61, ASIN, None, 1, op_asin)          /* x cnt -> y                                             */ \
    X(62, ACOS, None, 1, op_acos)          /* x cnt -> y                                             */ \
    X(63, ATAN, None, 1, op_atan)          /* x cnt -> y                                             */ \
    X(64, ABS, None, 1, op_abs)            /* x cnt -> y                                             */ \
    X(65, MOD, None, -1, op_mod)           /* a b -> float: the operator, no built-in name           */ \
    X(66, SQRT, None, 1, op_sqrt)          /* x cnt -> y                                             */ \
    X(67, FRAC, None, 1, op_frac)          /* x cnt -> y                                             */ \
    X(68, INT, None, 1, op_int)            /* x cnt -> y                                             */ \
    X(69, ROUND, None, 2, op_round)        /* x n cnt -> y                                           */ \
    X(70, EXP, None, 1, op_exp)            /* x cnt -> y                                             */ \
    X(71, LN, None, 1, op_ln)              /* x cnt -> y                                             */ \
    X(72, LOG10, None, 1, op_log10)        /* x cnt -> y                                             */ \
    X(73, REAL, None, 1, op_real)          /* z cnt -> x                                             */ \
    X(74, IM, None, 1, op_im)              /* z cnt -> x                                             */ \
    X(75, ARG, None, 1, op_arg)            /* z cnt -> x                                             */ \
    X(76, ROWS, None, 1, op_rows)          /* m cnt -> x                                             */ \
    X(77, COLS, None, 1, op_cols)          /* m cnt -> x                                             */ \
    X(78, FACT, None, 1, op_fact)          /* x cnt -> y                                             */ \
    X(79, NPR, None, 2, op_npr)            /* n r cnt -> y                                           */ \
    X(80, NCR, None, 2, op_ncr)            /* n r cnt -> y                                           */ \
    X(81, SUMX, None, 1, op_sumx)          /* m cnt -> y                                             */ \
    X(82, SUMX2, None, 1, op_sumx2)        /* m cnt -> y                                             */ \
    X(83, SUMXY, None, 2, op_sumxy)        /* m m cnt -> y                                           */ \
    X(84, MEAN, None, 1, op_mean)          /* m cnt -> y                                             */ \
    X(85, SDXN, None, 1, op_sdxn)          /* m cnt -> y                                             */ \
    X(86, SDX, None, 1, op_sdx)            /* m cnt -> y                                             */ \
    X(87, COV, None, 2, op_cov)            /* m m cnt -> y                                           */ \
    X(88, CORR, None, 2, op_corr)          /* m m cnt -> y                                           */ \
    X(89, ZERPOL, None, 1, op_zerpol)      /* m cnt -> m: the roots                                  */ \
    X(90, CU, None, 2, op_cu)              /* from to cnt -> float: conversion factor                */ \
    X(91, SERIEXYM, None, 4, op_seriexym)  /* n m xcol ycol cnt -> SUB0                              */ \
    X(92, SERIEXY, None, 3, op_seriexy)    /* n x y cnt -> SUB0                                      */ \
    X(93, SERIEY, None, 2, op_seriey)      /* n y cnt -> SUB0                                        */ \
    X(94, GRAPH, None, -1, op_graph)       /* -> SUB0: redraw the chart; a statement, no count       */ \
    X(95, TITLES, None, 3, op_titles)      /* main x y cnt -> SUB0                                   */ \
    X(96, SETSERIE, None, 3, op_setserie)  /* n type title cnt -> SUB0                               */ \
    X(97, GCLEAR, None, 1, op_gclear)      /* n cnt -> SUB0                                          */ \
    X(98, SAVEDATA, None, 2, op_savedata)  /* m name cnt -> SUB0                                     */ \
    X(99, LOADDATA, None, 1, op_loaddata)  /* name cnt -> matrix                                     */ \
    X(100, FLIST, None, 1, op_flist)       /* x cnt -> SUB0: list the names                          */ \
    X(101, FCLS, None, 1, op_fcls)         /* x cnt -> x: clear the pane                             */ \
    X(102, STR, None, 1, op_str)           /* v cnt -> string                                        */

enum class Op : std::uint8_t {
#define OSTRAC_OP_ENUM(num, name, operand, argc, handler) name = num,
    OSTRAC_OPCODES(OSTRAC_OP_ENUM)
#undef OSTRAC_OP_ENUM
};

struct OpInfo {
    std::string_view name;  // "OP_" followed by the mnemonic
    Inline operand;
    int argc;  // argument count a built-in checks, -1 for everything else
};

inline constexpr std::array op_table = {
#define OSTRAC_OP_INFO(num, name, operand, argc, handler) OpInfo{"OP_" #name, Inline::operand, argc},
    OSTRAC_OPCODES(OSTRAC_OP_INFO)
#undef OSTRAC_OP_INFO
};

inline constexpr int op_count = static_cast<int>(op_table.size());

namespace detail {
constexpr bool op_table_in_order() {
    int expected = 0;
#define OSTRAC_OP_CHECK(num, name, operand, argc, handler) \
    if (num != expected++) return false;
    OSTRAC_OPCODES(OSTRAC_OP_CHECK)
#undef OSTRAC_OP_CHECK
    return true;
}
}  // namespace detail
static_assert(detail::op_table_in_order(), "the opcode table lists every number once, in order");

constexpr const OpInfo* op_info(std::uint8_t byte) {
    return byte < op_count ? &op_table[byte] : nullptr;
}

}  // namespace ostrac::code
