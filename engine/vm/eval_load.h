// EVAL of a string and LOAD of a program file.
#pragma once

#include <cstdint>
#include <string_view>

namespace ostrac::state {
class Machine;
}

namespace ostrac::vm {

// Compiles `text` into EVAL0 and enters it; when EVAL0 ends, execution goes
// on at `return_offset` of the current block. Names in the text are looked
// up in the scope of the current block.
void eval_text(state::Machine& s, std::string_view text, std::int32_t return_offset);

void op_eval(state::Machine& s);  // string ->
void op_load(state::Machine& s);  // filename ->

}  // namespace ostrac::vm
