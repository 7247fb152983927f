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

// Names are at most ten characters: compared in place, without a library call.
bool same_text(const std::string& a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < b.size(); ++i) {
        if (a[i] != b[i]) return false;
    }
    return true;
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
inline void SymbolTable::index_slot(int index, NameSlots* slots) {
    const auto at = static_cast<std::size_t>(index);
    if (slots == nullptr) slots = &by_name_[name_key(entries_[at].name)];
    insert_sorted(*slots, index);
    slot_names_[at] = slots;
}

inline void SymbolTable::unindex_slot(int index) {
    const auto at = static_cast<std::size_t>(index);
    if (slot_names_[at] != nullptr) erase_sorted(*slot_names_[at], index);
    slot_names_[at] = nullptr;
}

// A kind beyond the table names no routine (only damaged state files hold
// one); such an entry is nobody's local.
inline void SymbolTable::add_local(int index) {
    const std::int32_t k = entries_[static_cast<std::size_t>(index)].kind;
    if (k > 0 && k < capacity()) insert_sorted(locals_[static_cast<std::size_t>(k)], index);
}

inline void SymbolTable::remove_local(int index) {
    const std::int32_t k = entries_[static_cast<std::size_t>(index)].kind;
    if (k > 0 && k < capacity()) erase_sorted(locals_[static_cast<std::size_t>(k)], index);
}

void SymbolTable::reset(int capacity) {
    entries_.assign(static_cast<std::size_t>(capacity), SymbolEntry{});
    capacity_ = static_cast<int>(entries_.size());
    slot_names_.assign(entries_.size(), nullptr);
    by_name_.clear();
    locals_.assign(entries_.size(), {});
    lowest_free_hint_ = 0;
    ++epoch_;
}

const std::vector<int>& SymbolTable::slots_named(std::string_view name) const {
    auto it = by_name_.find(name_key(name));
    return it == by_name_.end() ? no_slots : it->second;
}

NameSlots* SymbolTable::name_slots(std::string_view name) {
    auto it = by_name_.find(name_key(name));
    return it == by_name_.end() ? nullptr : &it->second;
}

int SymbolTable::occupy_free_slot(std::string_view name, std::int32_t kind, NameSlots* slots) {
    int index = lowest_free_hint_;
    while (index < capacity() && !entries_[static_cast<std::size_t>(index)].is_free()) ++index;
    lowest_free_hint_ = index;
    if (index == capacity()) return -1;

    SymbolEntry& e = entries_[static_cast<std::size_t>(index)];
    name = name.substr(0, max_name_length);
    if (!same_text(e.name, name)) e.name.assign(name);  // a local made again keeps its name
    e.kind = kind;
    e.set_real(0.0);
    e.ref = 0;
    if (e.has_code || e.code.capacity() != 0) {
        ++epoch_;  // the code of the slot's former entry goes
        e.has_code = false;
        e.code.clear();
        e.code.shrink_to_fit();
    }
    index_slot(index, slots);
    add_local(index);
    lowest_free_hint_ = index + 1;
    return index;
}

void SymbolTable::release(int index) {
    SymbolEntry& e = entries_[static_cast<std::size_t>(index)];
    if (e.is_free()) return;
    unindex_slot(index);
    remove_local(index);
    e.kind = kind::free_slot;
    lowest_free_hint_ = std::min(lowest_free_hint_, index);
}

void SymbolTable::release_locals(std::int32_t block, int keep) {
    if (block <= 0 || block >= capacity()) return;
    std::vector<int>& slots = locals_[static_cast<std::size_t>(block)];
    bool kept = false;
    for (int index : slots) {
        if (index == keep) {
            kept = true;
            continue;
        }
        unindex_slot(index);
        entries_[static_cast<std::size_t>(index)].kind = kind::free_slot;
        lowest_free_hint_ = std::min(lowest_free_hint_, index);
    }
    slots.clear();  // keeps its capacity: the next call of the routine allocates nothing
    if (kept) slots.push_back(keep);
}

void SymbolTable::grow() {
    lowest_free_hint_ = std::min(lowest_free_hint_, capacity());
    entries_.resize(entries_.size() + growth);
    capacity_ = static_cast<int>(entries_.size());
    slot_names_.resize(entries_.size(), nullptr);
    locals_.resize(entries_.size());
}

void SymbolTable::assign(std::vector<SymbolEntry> entries) {
    // Built aside: when memory runs out on the way, the table stays as it was.
    SymbolTable built;
    built.entries_ = std::move(entries);
    built.capacity_ = static_cast<int>(built.entries_.size());
    built.slot_names_.assign(built.entries_.size(), nullptr);
    built.locals_.assign(built.entries_.size(), {});
    for (int i = 0; i < built.capacity(); ++i) {
        if (built.entries_[static_cast<std::size_t>(i)].is_free()) continue;
        built.index_slot(i);
        built.add_local(i);
    }
    built.epoch_ = epoch_ + 1;
    *this = std::move(built);
}

void SymbolTable::set_kind(int index, std::int32_t kind) {
    remove_local(index);
    entries_[static_cast<std::size_t>(index)].kind = kind;
    add_local(index);
}

void SymbolTable::set_code(int index, std::vector<std::uint8_t> code) {
    SymbolEntry& e = entries_[static_cast<std::size_t>(index)];
    e.code = std::move(code);
    e.has_code = true;
    e.code_length = static_cast<std::int32_t>(e.code.size());
    ++epoch_;
}

void SymbolTable::drop_code(int index) {
    SymbolEntry& e = entries_[static_cast<std::size_t>(index)];
    e.has_code = false;
    e.code.clear();
    ++epoch_;
}

}  // namespace ostrac::state
