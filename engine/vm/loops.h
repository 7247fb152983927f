// FOR loops. A running loop keeps a five-cell frame on the stack: the loop
// frame cell, the step, the end value, the variable and the body offset.
#pragma once

#include <cstdint>

namespace ostrac::state {
class Machine;
}

namespace ostrac::vm {

// Whether a loop whose variable would take `value` has run its course.
inline bool loop_is_over(double step, double end, double value) {
    return (step > 0 && end - value < 0) || (step < 0 && end - value > 0);
}

void op_for(state::Machine& s);   // start end step id dist -> frame (or skip)
void op_next(state::Machine& s);  // frame -> frame (next pass) or nothing

// After a jump to `target` in the current block: removes the frame of every
// running loop of the current activation whose body the target lies outside,
// with everything above it.
void leave_loops_for(state::Machine& s, std::int32_t target);

}  // namespace ostrac::vm
