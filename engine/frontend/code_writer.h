// Writes instructions into a code block at the emission position, never past
// the block's end: an instruction that does not fit is refused through
// fatal_error and nothing of it is written.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "code/opcodes.h"

namespace ostrac::state {
class Machine;
}

namespace ostrac::frontend {

class CodeWriter {
public:
    static constexpr std::int32_t jump_size = 6;  // PUSHI distance + the jump opcode

    CodeWriter(state::Machine& s, std::span<std::uint8_t> block);

    std::int32_t pc() const { return pc_; }

    void op(code::Op op);
    void push_int(std::int32_t value);                  // PUSHI value
    void push_double(code::Op op, double value);          // PUSHF or PUSHIMAG
    void push_text(code::Op op, std::string_view text);   // PUSHID or PUSHSTR

    // Writes a complete PUSHI value over the 5 bytes at `at` (a placeholder
    // emitted earlier, so it lies inside the block).
    void patch_int(std::int32_t at, std::int32_t value);
    // Writes one opcode byte at `at`, inside the bytes emitted or reserved.
    void patch_op(std::int32_t at, code::Op op);

    // Reserves `size` bytes at the emission position for later filling and
    // returns their position. The first byte is set to END, so execution
    // stops there until the slot is filled; the others keep what they held.
    std::int32_t open_slot(std::int32_t size);

private:
    void ensure_room(std::size_t count);

    state::Machine& session_;
    std::span<std::uint8_t> block_;
    std::int32_t pc_ = 0;
};

}  // namespace ostrac::frontend
