// Remembers, for the identifier operands run lately, where the symbol
// table keeps the candidate slots of their name, so that a loop does not cut,
// fold and hash the same name on every pass. The visibility of the candidates
// is still decided on every run, exactly as a lookup decides it; only the
// name-to-candidates step is skipped. An entry is used while the operand's
// address and the table's epoch are what they were when it was filled: the
// epoch moves whenever code may have changed or the candidate lists may have
// moved.
#pragma once

#include <array>
#include <cstdint>
#include "vm/symbol_table.h"

namespace ostrac::vm {

class NameCache {
public:
    struct Entry {
        const std::uint8_t* site = nullptr;  // address of the operand in its block
        std::uint64_t epoch = 0;
        NameSlots* candidates = nullptr;
        std::int32_t next_pc = 0;  // offset just past the operand
    };

    const Entry* find(const std::uint8_t* site, std::uint64_t epoch) const {
        const Entry& e = entries_[slot(site)];
        return e.site == site && e.epoch == epoch ? &e : nullptr;
    }

    void store(const Entry& e) { entries_[slot(e.site)] = e; }

private:
    static constexpr std::size_t size = 256;

    static std::size_t slot(const std::uint8_t* site) {
        const auto address = reinterpret_cast<std::uintptr_t>(site);
        return (address ^ (address >> 8)) & (size - 1);
    }

    std::array<Entry, size> entries_{};
};

}  // namespace ostrac::vm
