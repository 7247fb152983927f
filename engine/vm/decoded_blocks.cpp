#include "vm/decoded_blocks.h"

namespace ostrac::vm {

const DecodedBlock* DecodedBlocks::refresh(state::Machine& s, std::int32_t block) {
    state::SymbolTable& table = s.symbols;
    if (block == state::slot::EVAL0 || !table.valid_index(block) || !table[block].has_code) return nullptr;
    const auto at = static_cast<std::size_t>(block);
    if (at >= blocks_.size()) blocks_.resize(static_cast<std::size_t>(table.capacity()));
    std::unique_ptr<DecodedBlock>& decoded = blocks_[at];
    if (!decoded) decoded = std::make_unique<DecodedBlock>();
    // The epoch moved, but perhaps for another block's code.
    if (decoded->epoch == 0 || table.code_epoch(block) > decoded->epoch) decoded->decode(table[block].code, table);
    decoded->epoch = table.epoch();
    return decoded.get();
}

}  // namespace ostrac::vm
