// Jumps, labels and subroutines, conditions, HALT and SHARED.
#pragma once

#include <cstdint>

namespace ostrac::session {
class Session;
}

namespace ostrac::vm {

using session::Session;

// Moves pc by a distance counted from the end of the jump instruction. A
// target outside the block is left for the next fetch to report.
void jump_by(Session& s, std::int32_t distance);

void op_jump(Session& s);    // dist ->
void op_if(Session& s);      // cond dist -> : jump when cond is 0 (IF and JFALSE)
void op_goto(Session& s);    // dist -> : leaves the FOR loops the jump leaves
void op_gosub(Session& s);   // dist -> return address
void op_return(Session& s);  // return address ->
[[noreturn]] void op_halt(Session& s);
void op_global(Session& s);  // id1..idn cnt ->

}  // namespace ostrac::vm
