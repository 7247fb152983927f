#include "state/symbols.h"

#include <new>

#include "state/conversions.h"
#include "state/machine.h"

namespace ostrac::state {

using state::slot::EVAL0;

std::int32_t lookup_or_create(Machine& s, std::string_view name, std::int32_t scope, NameSlots* slots) {
    scope = lookup_scope(s, scope);
    const std::int32_t found = first_visible(s, slots ? slots->indexes : s.symbols.slots_named(name), scope);
    return found >= 0 ? found : create_entry(s, name, scope, slots);
}

std::int32_t create_entry(Machine& s, std::string_view name, std::int32_t scope, NameSlots* slots) {
    // Growing adds only free slots: nothing that was not visible becomes so.
    for (;;) {
        const int created = s.symbols.occupy_free_slot(name, scope, slots);
        if (created >= 0) return created;
        try {
            s.symbols.grow();
        } catch (const std::bad_alloc&) {
            s.fatal_error("!!maxvar REACHED, memory error");
        }
        s.console_print("Alocated New Space For Vars\n");
    }
}

std::int32_t create_with_value(Machine& s, std::string_view name, std::int32_t kind, double value) {
    const std::int32_t index = lookup_or_create(s, name, kind);
    s.symbols.drop_code(index);
    s.symbols[index].set_real(value);
    return index;
}

void set_float(Machine& s, std::int32_t index, double value) { s.symbols[index].set_real(value); }

std::int32_t get_ref(Machine& s, std::int32_t index) {
    int steps = 0;
    while (s.symbols[index].type == ValueType::Reference) {
        if (++steps > 10) s.fatal_error_fmt("internal_error en get_ref, too deep in ", "");
        const std::int32_t next = s.symbols[index].ref;
        if (!s.symbols.valid_index(next)) s.fatal_error("Reference to a missing variable");
        index = next;
    }
    return index;
}

void check_protected_store(Machine& s, std::int32_t index, const Value& cell) {
    const SymbolEntry& target = s.symbols[index];
    if (target.kind == kind::constant) s.fatal_error("Constant value cannot be modified");
    if (target.kind != kind::system) return;

    double value = 0.0;
    if (const auto* d = get_if<double>(&cell)) {
        value = *d;
    } else if (const auto* id = get_if<IdentCell>(&cell);
               id != nullptr && s.symbols.valid_index(id->index) &&
               s.symbols[get_ref(s, id->index)].type == ValueType::Real) {
        value = s.symbols[get_ref(s, id->index)].number.re;
    } else {
        s.fatal_error("Constant value cannot be modified");
    }

    // Negative values arrive as large bytes and are refused with the rest.
    const auto byte = static_cast<std::uint8_t>(truncate_to_int32(value) & 0xFF);
    for (state::SystemVariable& row : s.system_variables()) {
        if (row.index != index) continue;
        if (byte > row.largest) s.fatal_error_fmt("Value not allowed for %s", row.name);
        row.current = byte;
        s.refresh_modes();
        return;
    }
}

}  // namespace ostrac::state
