// Typed pushes and pops of the operand stack, with the checks and messages
// the language reports. Every failure stops the command through fatal_error.
#pragma once

#include <cstdint>
#include <string_view>

#include "vm/value.h"

namespace ostrac::session {
class Session;
}

namespace ostrac::vm {

using session::Session;

void push(Session& s, Value v);
void push_float(Session& s, double v);
void push_int(Session& s, std::int32_t v);
// A complex whose imaginary part is exactly 0 is pushed as a float.
void push_number(Session& s, Complex z);
void push_id(Session& s, std::int32_t index);
// Looks the name up in the scope of the current block, creating it if absent.
void push_id_by_name(Session& s, std::string_view name);
void push_text(Session& s, std::string text);
void push_text(Session& s, Text text);
void push_matrix(Session& s, MatrixRef m);
void push_matrix(Session& s, Matrix m);
// A return frame: the offset at which to continue under the current block.
void push_frame(Session& s, std::int32_t offset);
void push_block(Session& s, std::int32_t value);
void push_gosub(Session& s, std::int32_t offset);
void push_loop_frame(Session& s, std::int32_t skip, std::int32_t depth, std::int32_t body_start,
                     std::int32_t body_end);

Value pop(Session& s);
std::int32_t pop_id(Session& s);
std::int32_t pop_int(Session& s);
double pop_real(Session& s);
Complex pop_number(Session& s);
Operand pop_operand(Session& s);
Text pop_string(Session& s);
MatrixRef pop_matrix(Session& s);
std::int32_t pop_block(Session& s);
std::int32_t pop_gosub(Session& s);
// Returns the stack depth saved in the FOR frame.
std::int32_t pop_loop_frame(Session& s);

// Pops the argument count a built-in call pushed and checks it.
void expect_args(Session& s, int n);

}  // namespace ostrac::vm
