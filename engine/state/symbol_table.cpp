#include "state/symbol_table.h"

#include <algorithm>

#include "code/names.h"

namespace ostrac::state {

using code::max_name_length;
using code::name_key;

namespace {
const std::vector<int> no_slots;

// Slots are mostly taken and freed at the end of their lists (a routine's
// locals, a name with one slot), which the inline halves handle without a
// search; the searching halves stay out of line.
[[gnu::noinline]] void insert_searching(std::vector<int>& slots, int index) {
    slots.insert(std::lower_bound(slots.begin(), slots.end(), index), index);
}

inline void insert_sorted(std::vector<int>& slots, int index) {
    if ((slots.empty() || slots.back() < index) && slots.size() < slots.capacity()) {
        slots.push_back(index);
        return;
    }
    insert_searching(slots, index);
}

[[gnu::noinline]] void erase_searching(std::vector<int>& slots, int index) {
    auto pos = std::lower_bound(slots.begin(), slots.end(), index);
    if (pos != slots.end() && *pos == index) slots.erase(pos);
}

inline void erase_sorted(std::vector<int>& slots, int index) {
    if (!slots.empty() && slots.back() == index) {
        slots.pop_back();
        return;
    }
    erase_searching(slots, index);
}
}  // namespace

// The index keepers, inline: creating and freeing locals runs them on
// every call of a routine.
//
// A local freed at the end of its routine stays in its name's list and in
// its routine's list (see release_locals): the next call takes the same slot
// for the same name, and then neither list changes. Free slots in a name's
// list are never visible, so lookups are unaffected.
inline void SymbolTable::index_slot(int index, NameSlots* slots) {
    const auto at = static_cast<std::size_t>(index);
    if (slots == nullptr) slots = &by_name_[name_key(entries_[at].name)];
    if (slot_names_[at] == slots) return;
    unindex_slot(index);
    insert_sorted(slots->indexes, index);
    ++slots->changes;
    slot_names_[at] = slots;
}

void SymbolTable::unindex_slot(int index) {
    const auto at = static_cast<std::size_t>(index);
    if (NameSlots* list = slot_names_[at]) {
        erase_sorted(list->indexes, index);
        ++list->changes;
    }
    slot_names_[at] = nullptr;
}

// Puts the slot into the list of locals of the routine its kind names, out
// of any other. A kind beyond the table names no routine (only damaged state
// files hold one); such an entry is nobody's local.
inline void SymbolTable::place_local(int index) {
    const auto at = static_cast<std::size_t>(index);
    std::int32_t k = entries_[at].kind;
    if (k <= 0 || k >= capacity()) k = 0;
    if (local_of_[at] == k) return;
    if (local_of_[at] != 0) erase_sorted(locals_[static_cast<std::size_t>(local_of_[at])], index);
    if (k != 0) insert_sorted(locals_[static_cast<std::size_t>(k)], index);
    local_of_[at] = k;
}

void SymbolTable::reset(int capacity) {
    entries_.assign(static_cast<std::size_t>(capacity), SymbolEntry{});
    capacity_ = static_cast<int>(entries_.size());
    slot_names_.assign(entries_.size(), nullptr);
    by_name_.clear();
    locals_.assign(entries_.size(), {});
    local_of_.assign(entries_.size(), 0);
    code_epochs_.assign(entries_.size(), 0);
    lowest_free_hint_ = 0;
    replaced_epoch_ = ++epoch_;
}

const std::vector<int>& SymbolTable::slots_named(std::string_view name) const {
    auto it = by_name_.find(name_key(name));
    return it == by_name_.end() ? no_slots : it->second.indexes;
}

NameSlots* SymbolTable::name_slots(std::string_view name) {
    auto it = by_name_.find(name_key(name));
    return it == by_name_.end() ? nullptr : &it->second;
}

NameSlots& SymbolTable::slots_for(std::string_view name) { return by_name_[name_key(name)]; }

int SymbolTable::occupy_free_slot(std::string_view name, std::int32_t kind, NameSlots* slots) {
    int index = lowest_free_hint_;
    while (index < capacity() && !entries_[static_cast<std::size_t>(index)].is_free()) ++index;
    lowest_free_hint_ = index;
    if (index == capacity()) return -1;

    SymbolEntry& e = entries_[static_cast<std::size_t>(index)];
    name = name.substr(0, max_name_length);
    if (!same_name_text(e.name, name)) e.name.assign(name);  // a local made again keeps its name
    e.kind = kind;
    e.set_real(0.0);
    e.ref = 0;
    if (e.has_code || e.code.capacity() != 0) {
        mark_code_changed(index);  // the code of the slot's former entry goes
        e.has_code = false;
        e.code.clear();
        e.code.shrink_to_fit();
    }
    index_slot(index, slots);
    touch(index);
    place_local(index);
    lowest_free_hint_ = index + 1;
    return index;
}

void SymbolTable::release(int index) {
    SymbolEntry& e = entries_[static_cast<std::size_t>(index)];
    if (e.is_free()) return;
    unindex_slot(index);
    e.kind = kind::free_slot;
    place_local(index);
    lowest_free_hint_ = std::min(lowest_free_hint_, index);
}

void SymbolTable::grow() {
    lowest_free_hint_ = std::min(lowest_free_hint_, capacity());
    entries_.resize(entries_.size() + growth);
    capacity_ = static_cast<int>(entries_.size());
    slot_names_.resize(entries_.size(), nullptr);
    locals_.resize(entries_.size());
    local_of_.resize(entries_.size(), 0);
    code_epochs_.resize(entries_.size(), 0);
}

void SymbolTable::assign(std::vector<SymbolEntry> entries) {
    // Built aside: when memory runs out on the way, the table stays as it was.
    SymbolTable built;
    built.entries_ = std::move(entries);
    built.capacity_ = static_cast<int>(built.entries_.size());
    built.slot_names_.assign(built.entries_.size(), nullptr);
    built.locals_.assign(built.entries_.size(), {});
    built.local_of_.assign(built.entries_.size(), 0);
    built.code_epochs_.assign(built.entries_.size(), 0);
    for (int i = 0; i < built.capacity(); ++i) {
        if (built.entries_[static_cast<std::size_t>(i)].is_free()) continue;
        built.index_slot(i);
        built.place_local(i);
    }
    built.epoch_ = epoch_ + 1;
    built.replaced_epoch_ = built.epoch_;
    *this = std::move(built);
}

void SymbolTable::set_kind(int index, std::int32_t kind) {
    entries_[static_cast<std::size_t>(index)].kind = kind;
    touch(index);
    place_local(index);
}

void SymbolTable::set_code(int index, std::vector<std::uint8_t> code) {
    SymbolEntry& e = entries_[static_cast<std::size_t>(index)];
    e.code = std::move(code);
    e.has_code = true;
    e.code_length = static_cast<std::int32_t>(e.code.size());
    mark_code_changed(index);
}

void SymbolTable::drop_code(int index) {
    SymbolEntry& e = entries_[static_cast<std::size_t>(index)];
    e.has_code = false;
    e.code.clear();
    mark_code_changed(index);
}

}  // namespace ostrac::state
