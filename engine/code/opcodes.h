// The instruction set, declared once. Every other list of opcodes (the enum,
// the names shown by the disassembler, the operand kinds the readers expect,
// the argument counts of built-ins) is derived from this table.
//
// Encoding: one opcode byte; only PUSHF, PUSHI, PUSHIMAG, PUSHID and PUSHSTR
// carry inline operands (little-endian). Everything else takes its operands
// from the operand stack; jump distances, argument counts and line numbers
// travel as ints pushed by PUSHI just before the consuming instruction.
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

// X(number, NAME, inline operand, built-in argument count or -1)
#define OSTRAC_OPCODES(X)                                                              \
    X(0, END, None, -1)          /* end of block */                                    \
    X(1, PUSHF, Double, -1)      /* push the inline double */                          \
    X(2, PUSHI, Int32, -1)       /* push the inline integer */                         \
    X(3, PUSHIMAG, Double, -1)   /* imaginary literal 0 + v i */                       \
    X(4, PUSHID, Text, -1)       /* identifier reference, created if absent */         \
    X(5, PUSHSTR, Text, -1)      /* string literal */                                  \
    X(6, ADD, None, -1)          /* a b -> a+b */                                      \
    X(7, SUB, None, -1)          /* a b -> a-b */                                      \
    X(8, MUL, None, -1)          /* a b -> a*b */                                      \
    X(9, DIV, None, -1)          /* a b -> a/b */                                      \
    X(10, POW, None, -1)         /* a b -> a^b */                                      \
    X(11, NEG, None, -1)         /* a -> -a */                                         \
    X(12, CROSS, None, -1)       /* cross product of two 1x3 rows */                   \
    X(13, GLOBAL, None, -1)      /* id1..idn cnt -> : names shared with the globals */ \
    X(14, MATRIX, None, -1)      /* matrix literal */                                  \
    X(15, SETCELL, None, -1)     /* matrix cell or string character assignment */      \
    X(16, PRINT, None, -1)       /* v1..vn cnt -> : one item per step */               \
    X(17, DEFFUNC, None, -1)     /* endpos id -> : define a function */                \
    X(18, DEFSUB, None, -1)      /* endpos id -> : define a procedure */               \
    X(19, ENDFUNC, None, -1)     /* -> id : end of a routine body */                   \
    X(20, PARAMS, None, -1)      /* bind parameters */                                 \
    X(21, CALL, None, -1)        /* a1..an cnt id -> result */                         \
    X(22, UNUSED22, None, -1)    /* does nothing */                                    \
    X(23, EVAL, None, -1)        /* string -> : compile and run a string */            \
    X(24, LOAD, None, -1)        /* filename -> : compile and run a file */            \
    X(25, INPUT, None, -1)       /* id1..idn cnt -> : ask the user */                  \
    X(26, ASSIGN, None, -1)      /* value id -> */                                     \
    X(27, POLAR, None, -1)       /* r angle -> complex */                              \
    X(28, LINE, None, -1)        /* line -> : line marker */                           \
    X(29, LEN, None, 1)                                                                \
    X(30, SHOW, None, -1)        /* value -> : expression statement */                 \
    X(31, GOTO, None, -1)                                                              \
    X(32, GOSUB, None, -1)                                                             \
    X(33, RETURN, None, -1)                                                            \
    X(34, HALT, None, -1)                                                              \
    X(35, EXITFUNC, None, -1)                                                          \
    X(36, EQ, None, -1)                                                                \
    X(37, NE, None, -1)                                                                \
    X(38, GT, None, -1)                                                                \
    X(39, LT, None, -1)                                                                \
    X(40, GE, None, -1)                                                                \
    X(41, LE, None, -1)                                                                \
    X(42, OR, None, -1)                                                                \
    X(43, AND, None, -1)                                                               \
    X(44, FOR, None, -1)         /* start end step id dist -> loop frame */            \
    X(45, NEXT, None, -1)                                                              \
    X(46, IF, None, -1)          /* cond dist -> : jump when cond is 0 */              \
    X(47, JUMP, None, -1)                                                              \
    X(48, JFALSE, None, -1)      /* cond dist -> : jump when cond is 0 (loops) */      \
    X(49, INV, None, 1)                                                                \
    X(50, DET, None, 1)                                                                \
    X(51, TRANS, None, 1)                                                              \
    X(52, SIN, None, 1)                                                                \
    X(53, COS, None, 1)                                                                \
    X(54, TAN, None, 1)                                                                \
    X(55, SINH, None, 1)                                                               \
    X(56, COSH, None, 1)                                                               \
    X(57, TANH, None, 1)                                                               \
    X(58, ASINH, None, 1)                                                              \
    X(59, ACOSH, None, 1)                                                              \
    X(60, ATANH, None, 1)                                                              \
    X(61, ASIN, None, 1)                                                               \
    X(62, ACOS, None, 1)                                                               \
    X(63, ATAN, None, 1)                                                               \
    X(64, ABS, None, 1)                                                                \
    X(65, MOD, None, -1)         /* operator, no built-in name */                      \
    X(66, SQRT, None, 1)                                                               \
    X(67, FRAC, None, 1)                                                               \
    X(68, INT, None, 1)                                                                \
    X(69, ROUND, None, 2)                                                              \
    X(70, EXP, None, 1)                                                                \
    X(71, LN, None, 1)                                                                 \
    X(72, LOG10, None, 1)                                                              \
    X(73, REAL, None, 1)                                                               \
    X(74, IM, None, 1)                                                                 \
    X(75, ARG, None, 1)                                                                \
    X(76, ROWS, None, 1)                                                               \
    X(77, COLS, None, 1)                                                               \
    X(78, FACT, None, 1)                                                               \
    X(79, NPR, None, 2)                                                                \
    X(80, NCR, None, 2)                                                                \
    X(81, SUMX, None, 1)                                                               \
    X(82, SUMX2, None, 1)                                                              \
    X(83, SUMXY, None, 2)                                                              \
    X(84, MEAN, None, 1)                                                               \
    X(85, SDXN, None, 1)                                                               \
    X(86, SDX, None, 1)                                                                \
    X(87, COV, None, 2)                                                                \
    X(88, CORR, None, 2)                                                               \
    X(89, ZERPOL, None, 1)                                                             \
    X(90, CU, None, 2)                                                                 \
    X(91, SERIEXYM, None, 4)                                                           \
    X(92, SERIEXY, None, 3)                                                            \
    X(93, SERIEY, None, 2)                                                             \
    X(94, GRAPH, None, -1)       /* redraw the chart; a statement, no count */         \
    X(95, TITLES, None, 3)                                                             \
    X(96, SETSERIE, None, 3)                                                           \
    X(97, GCLEAR, None, 1)                                                             \
    X(98, SAVEDATA, None, 2)                                                           \
    X(99, LOADDATA, None, 1)                                                           \
    X(100, FLIST, None, 1)                                                             \
    X(101, FCLS, None, 1)                                                              \
    X(102, STR, None, 1)

enum class Op : std::uint8_t {
#define OSTRAC_OP_ENUM(num, name, operand, argc) name = num,
    OSTRAC_OPCODES(OSTRAC_OP_ENUM)
#undef OSTRAC_OP_ENUM
};

struct OpInfo {
    std::string_view name;  // "OP_" followed by the mnemonic
    Inline operand;
    int argc;  // argument count a built-in checks, -1 for everything else
};

inline constexpr std::array<OpInfo, 103> op_table = {{
#define OSTRAC_OP_INFO(num, name, operand, argc) {"OP_" #name, Inline::operand, argc},
    OSTRAC_OPCODES(OSTRAC_OP_INFO)
#undef OSTRAC_OP_INFO
}};

inline constexpr int op_count = 103;
static_assert(static_cast<int>(Op::STR) + 1 == op_count, "opcodes are numbered 0 to 102 without gaps");

namespace detail {
constexpr bool op_table_in_order() {
    int expected = 0;
#define OSTRAC_OP_CHECK(num, name, operand, argc) \
    if (num != expected++) return false;
    OSTRAC_OPCODES(OSTRAC_OP_CHECK)
#undef OSTRAC_OP_CHECK
    return expected == op_count;
}
}  // namespace detail
static_assert(detail::op_table_in_order(), "the opcode table lists every number once, in order");

constexpr const OpInfo* op_info(std::uint8_t byte) {
    return byte < op_count ? &op_table[byte] : nullptr;
}

}  // namespace ostrac::code
