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

    [[gnu::always_inline]] void set_real(double v) {
        type = ValueType::Real;
        number = {v, 0.0};
        if (text || matrix) [[unlikely]] {
            text.reset();
            matrix.reset();
        }
    }
};

// Slots that carry one name, lowest index first: those in use, and locals
// freed at the end of their routine (never visible, see release_locals).
struct NameSlots {
    std::vector<int> indexes;
    // Counts the changes after which a block may see another of the slots:
    // a slot joining or leaving the list, or the kind or the code of one of
    // them changing. What was found visible holds while it stays the same.
    std::uint64_t changes = 0;
};

// Names are at most ten characters: compared in place, without a library call.
[[gnu::always_inline]] inline bool same_name_text(const std::string& a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < b.size(); ++i) {
        if (a[i] != b[i]) return false;
    }
    return true;
}

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
    [[gnu::always_inline]] bool valid_index(int index) const { return index >= 0 && index < capacity(); }

    // Slots that carry this name (case ignored, ten characters), lowest
    // index first (NameSlots). A name once indexed keeps its list, at the same address,
    // until the table is reset or replaced (see epoch()).
    const std::vector<int>& slots_named(std::string_view name) const;
    // The same list, to be handed back to occupy_free_slot; null when the
    // name was never indexed.
    NameSlots* name_slots(std::string_view name);
    // The same list, made empty when the name was never indexed, so that
    // code read ahead of its run can hold the lists of names it will create.
    NameSlots& slots_for(std::string_view name);

    // Takes the lowest free slot for a new entry of this name and kind, or
    // returns -1 when every slot is in use. `list`, when given, is the name's
    // list from name_slots, which spares hashing the name again.
    int occupy_free_slot(std::string_view name, std::int32_t kind, NameSlots* list = nullptr);

    // occupy_free_slot for a slot that the routine of `kind` freed when its
    // last call ended, taken back for the same name: true when it is the
    // lowest free slot and nothing else took it meanwhile, with the entry
    // exactly as occupy_free_slot leaves it; false, changing nothing,
    // otherwise. `list` is the name's list.
    [[gnu::always_inline]] bool retake(int index, std::int32_t kind, std::string_view name, const NameSlots* list) {
        const auto at = static_cast<std::size_t>(index);
        if (index != lowest_free_hint_ || index >= capacity_) return false;
        SymbolEntry& e = entries_[at];
        if (!e.is_free() || slot_names_[at] != list || local_of_[at] != kind || e.has_code ||
            e.code.capacity() != 0 || !same_name_text(e.name, name)) {
            return false;
        }
        e.kind = kind;
        e.set_real(0.0);
        e.ref = 0;
        lowest_free_hint_ = index + 1;
        touch(index);
        return true;
    }

    // Marks a slot free; its other bytes stay until the slot is reused.
    void release(int index);

    // Adds `growth` free slots; existing entries keep their indexes.
    void grow();

    // Replaces every slot (a loaded state); the name index is rebuilt.
    void assign(std::vector<SymbolEntry> entries);

    // Frees every slot whose kind is `block` (the locals of a routine) except
    // `keep`; the next call of the routine takes the same slots back cheaply.
    // The freed slots stay in both lists (see index_slot); one that owns
    // code leaves its name's list, where it would be visible.
    void release_locals(std::int32_t block, int keep) {
        if (block <= 0 || block >= capacity_) return;
        for (const int index : locals_[static_cast<std::size_t>(block)]) {
            SymbolEntry& e = entries_[static_cast<std::size_t>(index)];
            if (index == keep || e.kind != block) continue;
            if (e.has_code) unindex_slot(index);
            e.kind = kind::free_slot;
            touch(index);
            if (index < lowest_free_hint_) lowest_free_hint_ = index;
        }
    }

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
    // The epoch at which the code of entry `index` last changed (compiled
    // into, given, taken) or the whole table was replaced: what was read
    // from that code at a later epoch still holds.
    std::uint64_t code_epoch(int index) const {
        const std::uint64_t own = code_epochs_[static_cast<std::size_t>(index)];
        return own > replaced_epoch_ ? own : replaced_epoch_;
    }
    // Code was written into the buffer of `block` in place.
    void note_code_written(int block) { mark_code_changed(block); }

private:
    void index_slot(int index, NameSlots* list = nullptr);
    void unindex_slot(int index);
    void place_local(int index);
    void mark_code_changed(int index) {
        code_epochs_[static_cast<std::size_t>(index)] = ++epoch_;
        touch(index);
    }
    // The kind or the code of slot `index` changed.
    [[gnu::always_inline]] void touch(int index) {
        if (NameSlots* list = slot_names_[static_cast<std::size_t>(index)]) ++list->changes;
    }

    std::vector<SymbolEntry> entries_;
    int capacity_ = 0;  // entries_.size(), kept for the bounds checks of every instruction
    std::unordered_map<std::string, NameSlots> by_name_;
    std::vector<NameSlots*> slot_names_;  // for each slot in use, its name's list
    int lowest_free_hint_ = 0;  // no free slot below this index
    std::vector<std::vector<int>> locals_;  // by routine index: the slots of its locals, freed ones too
    std::vector<std::int32_t> local_of_;    // by slot: the routine whose list holds it, or 0
    std::uint64_t epoch_ = 1;
    std::vector<std::uint64_t> code_epochs_;  // by slot: see code_epoch()
    std::uint64_t replaced_epoch_ = 1;          // the table was last reset or replaced
};

}  // namespace ostrac::state
