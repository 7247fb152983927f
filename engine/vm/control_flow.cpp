#include "vm/control_flow.h"

#include <cstdint>

#include "session/session.h"
#include "vm/stack_ops.h"

namespace ostrac::vm {

namespace {

// A target outside the block is left for the next instruction fetch to
// report, without overflowing pc on the way.
void jump_by(session::Session& s, std::int32_t distance) {
    const std::int64_t target = static_cast<std::int64_t>(s.pc) + distance;
    s.pc = (target < 0 || target > s.code_size) ? s.code_size : static_cast<std::int32_t>(target);
}

}  // namespace

void op_jump(session::Session& s) { jump_by(s, pop_int(s)); }

}  // namespace ostrac::vm
