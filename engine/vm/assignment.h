// Storing values into symbol entries.
#pragma once

#include <cstdint>

#include "vm/value.h"

namespace ostrac::session {
class Session;
}

namespace ostrac::vm {

// Stores a popped cell into `target` after the constant guard. With `bind`
// (parameter binding) an identifier cell makes the target a reference to
// that entry; otherwise the referenced value is copied (strings and matrices
// are then shared).
void store_value(session::Session& s, std::int32_t target, const Value& cell, bool bind);

// value id -> : assignment.
void op_assign(session::Session& s);

}  // namespace ostrac::vm
