#include "vm/symbol_table.h"

#include <algorithm>

#include "vm/names.h"

namespace ostrac::vm {

namespace {
const std::vector<int> no_slots;
}

void SymbolTable::reset(int capacity) {
    entries_.assign(static_cast<std::size_t>(capacity), SymbolEntry{});
    by_name_.clear();
    lowest_free_hint_ = 0;
}

const std::vector<int>& SymbolTable::slots_named(std::string_view name) const {
    auto it = by_name_.find(name_key(name));
    return it == by_name_.end() ? no_slots : it->second;
}

int SymbolTable::occupy_free_slot(std::string_view name, std::int32_t kind) {
    int index = lowest_free_hint_;
    while (index < capacity() && !entries_[static_cast<std::size_t>(index)].is_free()) ++index;
    lowest_free_hint_ = index;
    if (index == capacity()) return -1;

    SymbolEntry& e = entries_[static_cast<std::size_t>(index)];
    e.name = std::string(name.substr(0, max_name_length));
    e.kind = kind;
    e.set_real(0.0);
    e.ref = 0;
    e.has_code = false;
    e.code.clear();
    e.code.shrink_to_fit();
    index_slot(index);
    lowest_free_hint_ = index + 1;
    return index;
}

void SymbolTable::release(int index) {
    SymbolEntry& e = entries_[static_cast<std::size_t>(index)];
    if (e.is_free()) return;
    unindex_slot(index);
    e.kind = kind::free_slot;
    lowest_free_hint_ = std::min(lowest_free_hint_, index);
}

void SymbolTable::grow() {
    lowest_free_hint_ = std::min(lowest_free_hint_, capacity());
    entries_.resize(entries_.size() + growth);
}

void SymbolTable::assign(std::vector<SymbolEntry> entries) {
    entries_ = std::move(entries);
    by_name_.clear();
    lowest_free_hint_ = 0;
    for (int i = 0; i < capacity(); ++i) {
        if (!entries_[static_cast<std::size_t>(i)].is_free()) index_slot(i);
    }
}

void SymbolTable::index_slot(int index) {
    std::vector<int>& slots = by_name_[name_key(entries_[static_cast<std::size_t>(index)].name)];
    slots.insert(std::lower_bound(slots.begin(), slots.end(), index), index);
}

void SymbolTable::unindex_slot(int index) {
    auto it = by_name_.find(name_key(entries_[static_cast<std::size_t>(index)].name));
    if (it == by_name_.end()) return;
    std::vector<int>& slots = it->second;
    auto pos = std::lower_bound(slots.begin(), slots.end(), index);
    if (pos != slots.end() && *pos == index) slots.erase(pos);
}

}  // namespace ostrac::vm
