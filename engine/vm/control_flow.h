// Jumps, labels and subroutines, conditions, HALT and SHARED.
#pragma once

#include <cstdint>

namespace ostrac::state {
class Machine;
}

namespace ostrac::vm {

using state::Machine;

// The position a jump of `distance` from `pc` reaches in a block of `size`
// bytes. A target outside the block becomes the block's end, which the
// next fetch reports.
inline std::int32_t jump_target(std::int32_t pc, std::int32_t distance, std::int32_t size) {
    const std::int64_t target = static_cast<std::int64_t>(pc) + distance;
    return (target < 0 || target > size) ? size : static_cast<std::int32_t>(target);
}

// Moves pc by a distance counted from the end of the jump instruction.
void jump_by(Machine& s, std::int32_t distance);

void op_jump(Machine& s);    // dist ->
void op_if(Machine& s);      // cond dist -> : jump when cond is 0 (IF and JFALSE)
void op_goto(Machine& s);    // dist -> : leaves the FOR loops the jump leaves
void op_gosub(Machine& s);   // dist -> return address
void op_return(Machine& s);  // return address ->
[[noreturn]] void op_halt(Machine& s);
void op_global(Machine& s);  // id1..idn cnt ->

}  // namespace ostrac::vm
