// The names by which built-in functions are called, in lookup order. A called
// name found here compiles to the built-in's opcode; any other name compiles to
// a user call. The argument count each built-in checks is in the opcode table.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "code/opcodes.h"

namespace ostrac::code {

struct BuiltinName {
    std::string_view name;
    Op op;
};

inline constexpr std::array<BuiltinName, 55> builtin_table = {{
    {"cos", Op::COS},           {"sin", Op::SIN},         {"tan", Op::TAN},
    {"acos", Op::ACOS},         {"asin", Op::ASIN},       {"atan", Op::ATAN},
    {"cosh", Op::COSH},         {"sinh", Op::SINH},       {"tanh", Op::TANH},
    {"acosh", Op::ACOSH},       {"asinh", Op::ASINH},     {"atanh", Op::ATANH},
    {"exp", Op::EXP},           {"ln", Op::LN},           {"log10", Op::LOG10},
    {"log", Op::LOG10},         {"INV", Op::INV},         {"DET", Op::DET},
    {"TRANS", Op::TRANS},       {"abs", Op::ABS},         {"sqrt", Op::SQRT},
    {"sqr", Op::SQRT},          {"frac", Op::FRAC},       {"int", Op::INT},
    {"round", Op::ROUND},       {"im", Op::IM},           {"real", Op::REAL},
    {"arg", Op::ARG},           {"rows", Op::ROWS},       {"cols", Op::COLS},
    {"fact", Op::FACT},         {"npr", Op::NPR},         {"ncr", Op::NCR},
    {"len", Op::LEN},           {"sumx", Op::SUMX},       {"sumx2", Op::SUMX2},
    {"sumxy", Op::SUMXY},       {"mean", Op::MEAN},       {"sdxn", Op::SDXN},
    {"sdx", Op::SDX},           {"cov", Op::COV},         {"corr", Op::CORR},
    {"zerpol", Op::ZERPOL},     {"cu", Op::CU},           {"SERIEXYM", Op::SERIEXYM},
    {"SERIEXY", Op::SERIEXY},   {"SERIEY", Op::SERIEY},   {"titles", Op::TITLES},
    {"SETSERIE", Op::SETSERIE}, {"flist", Op::FLIST},     {"fcls", Op::FCLS},
    {"gclear", Op::GCLEAR},     {"savedata", Op::SAVEDATA}, {"loaddata", Op::LOADDATA},
    {"STR", Op::STR},
}};

// The built-in called by this name (ASCII letters compared without case).
std::optional<Op> find_builtin(std::string_view name);

}  // namespace ostrac::code
