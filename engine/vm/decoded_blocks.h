// The decoded forms of a machine's code blocks (vm/decoded_block.h), each
// built on the block's first run and read again once its code has changed
// or the symbol table has been replaced. The session owns them; the
// dispatcher reaches them through Machine::decoded.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "state/machine.h"
#include "vm/decoded_block.h"

namespace ostrac::vm {

class DecodedBlocks {
public:
    // The decoded form of `block` as its code stands now; null for the
    // blocks that run from the byte code alone: EVAL0, whose names are
    // looked up in its caller's scope, and entries without code.
    const DecodedBlock* find(state::Machine& s, std::int32_t block) {
        const auto at = static_cast<std::size_t>(block);
        if (at < blocks_.size() && blocks_[at] && blocks_[at]->epoch == s.symbols.epoch()) [[likely]] {
            return blocks_[at].get();
        }
        return refresh(s, block);
    }

    // The step at `pc` of the block being run.
    const Step* locate(state::Machine& s, std::int32_t pc) {
        const DecodedBlock* block = find(s, s.current_block);
        return block != nullptr ? block->at(pc) : &elsewhere_;
    }
    // The step at the start of the block being run.
    const Step* locate_first(state::Machine& s) {
        const DecodedBlock* block = find(s, s.current_block);
        return block != nullptr ? block->first() : &elsewhere_;
    }

private:
    const DecodedBlock* refresh(state::Machine& s, std::int32_t block);

    std::vector<std::unique_ptr<DecodedBlock>> blocks_;  // by symbol index
    Step elsewhere_;  // the byte code
};

}  // namespace ostrac::vm
