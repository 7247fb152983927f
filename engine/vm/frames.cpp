#include "vm/frames.h"

#include <variant>

#include "state/machine.h"
#include "state/stack_ops.h"

namespace ostrac::vm {

using state::BlockCell;
using state::get_if;
using state::holds_alternative;
using state::IdentCell;
using state::pop;
using state::pop_block;
using state::ReturnOffsetCell;
using state::Value;

bool block_in_use(const state::Machine& s, int block) {
    if (s.current_block == block) return true;
    for (int i = 1; i < s.stack.depth(); ++i) {
        const auto* cell = get_if<BlockCell>(&s.stack.at(i));
        if (cell != nullptr && cell->value == block && holds_alternative<ReturnOffsetCell>(s.stack.at(i - 1))) {
            return true;
        }
    }
    return false;
}

void return_from_block(state::Machine& s) {
    while (s.stack.depth() > 0) {
        const auto* id = get_if<IdentCell>(&s.stack.top());
        if (id == nullptr || id->index != state::slot::SUB0) break;
        pop(s);
    }
    const std::int32_t block = pop_block(s);
    const Value* cell = s.stack.peek();
    if (cell == nullptr) s.fatal_error("error bsp<0");
    const auto* ret = get_if<ReturnOffsetCell>(cell);
    if (ret == nullptr) s.fatal_error("waiting for addr2");
    const std::int32_t offset = ret->offset;
    s.stack.drop_scalars(1);
    if (!s.symbols.valid_index(block) || !s.symbols[block].has_code ||
        offset < 0 || offset > static_cast<std::int32_t>(s.symbols[block].code.size())) {
        s.fatal_error("waiting for addr1");
    }
    s.set_position(block, offset);
}

}  // namespace ostrac::vm
