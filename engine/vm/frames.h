// Entering and leaving code blocks through return frames on the stack.
#pragma once

namespace ostrac::state {
class Machine;
}

namespace ostrac::vm {

// Whether `block` runs now or waits, under a return frame on the stack, for
// something it called to return: its code must stay as it is until then.
// A return frame is a block cell directly on a return-offset cell.
bool block_in_use(const state::Machine& s, int block);

// Drops no-value results (references to SUB0) above the frame, then pops the
// frame and continues in the block and at the offset it names.
void return_from_block(state::Machine& s);

}  // namespace ostrac::vm
