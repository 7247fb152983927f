// Entering and leaving code blocks through return frames on the stack.
#pragma once

namespace ostrac::session {
class Session;
}

namespace ostrac::vm {

// Drops no-value results (references to SUB0) above the frame, then pops the
// frame and continues in the block and at the offset it names.
void return_from_block(session::Session& s);

}  // namespace ostrac::vm
