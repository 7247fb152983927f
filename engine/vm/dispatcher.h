// Executes one instruction at the current position of the session.
#pragma once

namespace ostrac::state {
class Machine;
}

namespace ostrac::vm {

// Reads the opcode at pc, advances pc, performs the instruction and returns
// the opcode (0: the end of a block was reached). Bytes that name no
// instruction (22, 103..255) do nothing and return themselves.
int execute_one(state::Machine& s);

// Executes instructions one after another, at most `max_steps` of them, while
// the session stays Running and no block ends; returns what the last
// execute_one returned. Between two instructions nothing happens that
// separate execute_one calls would not also see.
int execute(state::Machine& s, int max_steps);

}  // namespace ostrac::vm
