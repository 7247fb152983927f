// Symbol lookup with the language's visibility rules, reference resolution,
// the store guard for constants and system variables, and scope release.
#pragma once

#include <cstdint>
#include <string_view>

#include "vm/value.h"

namespace ostrac::session {
class Session;
}

namespace ostrac::vm {

using session::Session;

// The visible entry with this name, created in `scope` when there is none.
// scope is 0 (global), the index of a routine (its locals), or a negative kind
// when start-up creates constants and system variables.
std::int32_t lookup_or_create(Session& s, std::string_view name, std::int32_t scope);

// lookup_or_create, then a float value and no code.
std::int32_t create_with_value(Session& s, std::string_view name, std::int32_t kind, double value);

void set_float(Session& s, std::int32_t index, double value);

// Follows references to the entry that holds the value; a chain longer than
// ten stops the command.
std::int32_t get_ref(Session& s, std::int32_t index);

// Run before every store into an entry: refuses constants, checks and applies
// system variable values.
void checknoconst(Session& s, std::int32_t index, const Value& cell);

// Frees every local of `block` (EVAL0's entry is never freed).
void release_scope(Session& s, std::int32_t block);

}  // namespace ostrac::vm
