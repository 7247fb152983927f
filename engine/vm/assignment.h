// Storing values into symbol entries.
#pragma once

#include <cstdint>

#include "state/value.h"

namespace ostrac::state {
class Machine;
}

namespace ostrac::vm {

using state::Value;

// Stores a popped cell into `target` after the constant guard. With `bind`
// (parameter binding) an identifier cell makes the target a reference to
// that entry; otherwise the referenced value is copied (strings and matrices
// are then shared).
void store_value(state::Machine& s, std::int32_t target, const Value& cell, bool bind);

// value id -> : assignment.
void op_assign(state::Machine& s);

}  // namespace ostrac::vm
