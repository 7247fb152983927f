// The engine state as a binary file: every symbol with its value and code,
// the angle and coordinate modes, and the operand stack.
#pragma once

#include <string_view>

namespace ostrac::session {
class Session;
}

namespace ostrac::vm {

// Reads the named file from the home folder and replaces the symbol table,
// the modes and the stack with its contents.
void state_load(session::Session& s, std::string_view name);

}  // namespace ostrac::vm
