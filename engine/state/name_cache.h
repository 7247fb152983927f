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
// address, so that the operands of one loop (nearby offsets of one block)
// never evict each other, wherever the blocks were allocated. Each place
// holds two entries, the latest first, so that two operands of different
// blocks that meet at one place (a loop and the function it calls) both stay.
#pragma once

#include <array>
#include <cstdint>
#include "state/symbol_table.h"

namespace ostrac::state {

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
        const Place& p = places_[place(block, offset)];
        if (p.latest.site == site && p.latest.epoch == epoch) return &p.latest;
        if (p.earlier.site == site && p.earlier.epoch == epoch) return &p.earlier;
        return nullptr;
    }

    void store(std::int32_t block, std::int32_t offset, const Entry& e) {
        Place& p = places_[place(block, offset)];
        p.earlier = p.latest;
        p.latest = e;
    }

private:
    static constexpr std::size_t size = 1024;

    struct Place {
        Entry latest;
        Entry earlier;
    };

    // Blocks start far apart in the cache, offsets of one block follow each
    // other.
    static std::size_t place(std::int32_t block, std::int32_t offset) {
        return (static_cast<std::size_t>(offset) + static_cast<std::size_t>(block) * 389) & (size - 1);
    }

    std::array<Place, size> places_{};
};

}  // namespace ostrac::state
