// The built-ins on strings: length, the text of a number, and the unit
// conversion factor between two named units.
#include "vm/builtins.h"

#include <string>
#include <utility>

#include "numeric/unit_table.h"
#include "state/machine.h"
#include "vm/number_format.h"

namespace ostrac::vm {

using code::Op;
using numeric::Complex;
using state::Machine;
using state::pop_number;
using state::pop_string;
using state::push_float;
using state::push_text;
using state::Text;

void op_len(Machine& s) {
    expect_builtin_args(s, Op::LEN);
    push_float(s, static_cast<double>(pop_string(s)->size()));
}

// STR keeps its fixed form (eight digits, automatic notation) whatever the
// console's display settings are: programs measure, cut and EVAL its text,
// and a viewing preference must not change what a program computes.
void op_str(Machine& s) {
    expect_builtin_args(s, Op::STR);
    const Complex z = pop_number(s);
    std::string text;
    format_number(text, z, s.coord_mode(), s.angle_unit());
    push_text(s, std::move(text));
}

// Both names are popped before either is looked up.
void op_cu(Machine& s) {
    expect_builtin_args(s, Op::CU);
    const Text target = pop_string(s);
    const Text source = pop_string(s);
    const auto factor = numeric::unit_factor(*source, *target);
    if (!factor.ok()) s.fatal_error(factor.error());
    push_float(s, factor.value());
}

}  // namespace ostrac::vm
