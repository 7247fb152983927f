#include "vm/frames.h"

#include <variant>

#include "session/session.h"
#include "vm/stack_ops.h"

namespace ostrac::vm {

void return_from_block(session::Session& s) {
    while (s.stack.depth() > 0) {
        const auto* id = std::get_if<IdentCell>(&s.stack.top());
        if (id == nullptr || id->index != session::slot::SUB0) break;
        pop(s);
    }
    const std::int32_t block = pop_block(s);
    Value offset = pop(s);
    const auto* ret = std::get_if<ReturnOffsetCell>(&offset);
    if (ret == nullptr) s.fatal_error("waiting for addr2");
    if (!s.symbols.valid_index(block) || !s.symbols[block].has_code ||
        ret->offset < 0 || ret->offset > static_cast<std::int32_t>(s.symbols[block].code.size())) {
        s.fatal_error("waiting for addr1");
    }
    s.set_position(block, ret->offset);
}

}  // namespace ostrac::vm
