// Executes one instruction at the current position of the session.
#pragma once

namespace ostrac::session {
class Session;
}

namespace ostrac::vm {

// Reads the opcode at pc, advances pc, performs the instruction and returns
// the opcode (0: the end of a block was reached). Bytes that name no
// instruction (22, 103..255) do nothing and return themselves.
int execute_one(session::Session& s);

}  // namespace ostrac::vm
