// Jumps and the other instructions that move the execution position.
#pragma once

namespace ostrac::session {
class Session;
}

namespace ostrac::vm {

// pc += the distance on the stack (relative to the end of the instruction).
void op_jump(session::Session& s);

}  // namespace ostrac::vm
