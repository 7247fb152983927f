// Remembers, for the identifier operands run lately, where the symbol
// table keeps the candidate slots of their name, so that a loop does not cut,
// fold and hash the same name on every pass. The visibility of the candidates
// is still decided on every run, exactly as a lookup decides it; only the
// name-to-candidates step is skipped. An entry is used while the operand's
// address and the table's epoch are what they were when it was filled: the
// epoch moves whenever code may have changed or the candidate lists may have
// moved.
//
// An entry's place comes from the operand's block and offset, not from its
// address, so that the operands of one loop (nearby offsets of one or two
// blocks) never evict each other, wherever the blocks were allocated.
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

    // `block` and `offset` say where `site` lies.
    const Entry* find(const std::uint8_t* site, std::int32_t block, std::int32_t offset,
                      std::uint64_t epoch) const {
        const Entry& e = entries_[slot(block, offset)];
        return e.site == site && e.epoch == epoch ? &e : nullptr;
    }

    void store(std::int32_t block, std::int32_t offset, const Entry& e) { entries_[slot(block, offset)] = e; }

private:
    static constexpr std::size_t size = 1024;

    // Blocks start far apart in the cache, offsets of one block follow each
    // other.
    static std::size_t slot(std::int32_t block, std::int32_t offset) {
        return (static_cast<std::size_t>(offset) + static_cast<std::size_t>(block) * 389) & (size - 1);
    }

    std::array<Entry, size> entries_{};
};

}  // namespace ostrac::vm
