// Symbol lookup with the language's visibility rules, reference resolution,
// the store guard for constants and system variables, and scope release.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "state/machine.h"
#include "state/symbol_table.h"
#include "state/value.h"

namespace ostrac::state {

using state::Machine;

// Code compiled by EVAL sees the names of the block that called EVAL,
// whose index EVAL keeps in its own entry's kind; 0 outside EVAL code.
inline bool in_eval(const Machine& s) {
    return s.current_block == state::slot::EVAL0 && s.symbols.valid_index(state::slot::EVAL0);
}

// The scope a lookup in `scope` searches and creates in: inside EVAL code,
// the caller's instead of EVAL's own.
inline std::int32_t lookup_scope(const Machine& s, std::int32_t scope) {
    return scope != 0 && in_eval(s) ? s.symbols[state::slot::EVAL0].kind : scope;
}

// The first of `candidates` (slots of one name, lowest first) that code
// running in the current block sees, for a lookup in `scope`; -1 when none is.
inline std::int32_t first_visible(const Machine& s, const std::vector<int>& candidates, std::int32_t scope) {
    const bool in_eval = state::in_eval(s);
    const std::int32_t eval_scope = in_eval ? s.symbols[state::slot::EVAL0].kind : 0;
    scope = lookup_scope(s, scope);

    for (int index : candidates) {
        const SymbolEntry& e = s.symbols[index];
        const bool visible = e.kind == scope || e.has_code || e.kind == kind::constant ||
                             e.kind == kind::system || (in_eval && e.kind == eval_scope);
        if (visible) return index;
    }
    return -1;
}

// The visible entry with this name, created in `scope` when there is none.
// scope is 0 (global), the index of a routine (its locals), or a negative kind
// when start-up creates constants and system variables.
// `list`, when given, is the name's list (SymbolTable::name_slots).
std::int32_t lookup_or_create(Machine& s, std::string_view name, std::int32_t scope,
                              NameSlots* list = nullptr);

// The creating half of lookup_or_create, for a caller that has seen no
// visible entry: a new entry in the lowest free slot, the table grown when
// none is free. `scope` is the one the lookup searched (lookup_scope).
std::int32_t create_entry(Machine& s, std::string_view name, std::int32_t scope, NameSlots* list = nullptr);

// lookup_or_create, then a float value and no code.
std::int32_t create_with_value(Machine& s, std::string_view name, std::int32_t kind, double value);

void set_float(Machine& s, std::int32_t index, double value);

// Follows references to the entry that holds the value; a chain longer than
// ten stops the command.
std::int32_t get_ref(Machine& s, std::int32_t index);

// The checks checknoconst makes for a constant or a system variable.
void check_protected_store(Machine& s, std::int32_t index, const Value& cell);

// Run before every store into an entry: refuses constants, checks and applies
// system variable values. Stores into anything else pass without a call.
inline void checknoconst(Machine& s, std::int32_t index, const Value& cell) {
    const std::int32_t k = s.symbols[index].kind;
    if (k == kind::constant || k == kind::system) check_protected_store(s, index, cell);
}

// Frees every local of `block` (EVAL0's entry is never freed). Inline:
// every return from a routine runs it.
inline void release_scope(Machine& s, std::int32_t block) {
    if (block <= 0) return;  // only routines (positive indexes) have locals
    s.symbols.release_locals(block, state::slot::EVAL0);
}

}  // namespace ostrac::state
