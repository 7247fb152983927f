// The flat table of every name the engine knows. Entries are identified by
// index everywhere; scoping is decided at lookup time from each entry's kind.
//
// Lookup never scans the table: an index from folded name to the slots that
// hold that name (ascending) yields the candidates, and the first visible one
// is exactly the entry a scan from slot 0 would find. Free slots are found
// through a lowest-free hint.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "state/value.h"

namespace ostrac::state {

// Kind of a symbol entry; a positive kind is the index of the routine a local
// belongs to.
namespace kind {
inline constexpr std::int32_t free_slot = -1;
inline constexpr std::int32_t global = 0;
inline constexpr std::int32_t constant = -2;
inline constexpr std::int32_t system = -3;
inline constexpr std::int32_t procedure = -4;
inline constexpr std::int32_t function = -5;
inline constexpr std::int32_t protected_procedure = -6;
inline constexpr std::int32_t protected_function = -7;
}  // namespace kind

struct SymbolEntry {
    std::string name;  // at most 10 characters, case kept
    ValueType type = ValueType::Real;
    std::int32_t kind = kind::free_slot;

    // Code owned by the entry (functions, procedures, the two main blocks).
    bool has_code = false;
    std::vector<std::uint8_t> code;
    std::int32_t code_length = 0;  // kept as it was when a slot is reused

    // The stored value: which member counts depends on `type`.
    Complex number;           // Real (re only) and Complex
    std::int32_t ref = 0;     // Reference: the entry this one stands for
    Text text;                // String
    MatrixRef matrix;         // Matrix

    bool is_free() const { return kind == kind::free_slot; }

    void set_real(double v) {
        type = ValueType::Real;
        number = {v, 0.0};
        if (text) text.reset();
        if (matrix) matrix.reset();
    }
};

// Slots in use that carry one name, lowest index first.
using NameSlots = std::vector<int>;

class SymbolTable {
public:
    static constexpr int initial_capacity = 10;
    static constexpr int growth = 100;

    SymbolTable() = default;

    // Replaces the table by `capacity` free slots.
    void reset(int capacity);

    int capacity() const { return capacity_; }
    SymbolEntry& operator[](int index) { return entries_[static_cast<std::size_t>(index)]; }
    const SymbolEntry& operator[](int index) const {
        return entries_[static_cast<std::size_t>(index)];
    }
    bool valid_index(int index) const { return index >= 0 && index < capacity(); }

    // Slots in use that carry this name (case ignored, ten characters), lowest
    // index first. A name once indexed keeps its list, at the same address,
    // until the table is reset or replaced (see epoch()).
    const std::vector<int>& slots_named(std::string_view name) const;
    // The same list, to be handed back to occupy_free_slot; null when the
    // name was never indexed.
    NameSlots* name_slots(std::string_view name);

    // Takes the lowest free slot for a new entry of this name and kind, or
    // returns -1 when every slot is in use. `slots`, when given, is the name's
    // list from name_slots, which spares hashing the name again.
    int occupy_free_slot(std::string_view name, std::int32_t kind, NameSlots* slots = nullptr);

    // Marks a slot free; its other bytes stay until the slot is reused.
    void release(int index);

    // Adds `growth` free slots; existing entries keep their indexes.
    void grow();

    // Replaces every slot (a loaded state); the name index is rebuilt.
    void assign(std::vector<SymbolEntry> entries);

    // Frees every slot whose kind is `block` (the locals of a routine) except
    // `keep`.
    void release_locals(std::int32_t block, int keep);

    // Kinds and code change through the table, which keeps its indexes and
    // its epoch up to date.
    void set_kind(int index, std::int32_t kind);
    void set_code(int index, std::vector<std::uint8_t> code);
    void drop_code(int index);

    // Counts the events after which a name's candidate list (slots_named) may
    // live elsewhere or code may say something else: the table replaced, code
    // given to or taken from an entry, code compiled into a block. What was
    // remembered about a code position or a candidate list holds only while
    // the epoch is the same.
    std::uint64_t epoch() const { return epoch_; }
    void note_code_written() { ++epoch_; }

private:
    void index_slot(int index, NameSlots* slots = nullptr);
    void unindex_slot(int index);
    void add_local(int index);
    void remove_local(int index);

    std::vector<SymbolEntry> entries_;
    int capacity_ = 0;  // entries_.size(), kept for the bounds checks of every instruction
    std::unordered_map<std::string, NameSlots> by_name_;
    std::vector<NameSlots*> slot_names_;  // for each slot in use, its name's list
    int lowest_free_hint_ = 0;  // no free slot below this index
    std::vector<std::vector<int>> locals_;  // by routine index: the slots of its locals
    std::uint64_t epoch_ = 1;
};

}  // namespace ostrac::state
