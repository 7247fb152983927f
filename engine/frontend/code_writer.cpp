#include "frontend/code_writer.h"

#include "code/code_reader.h"
#include "state/machine.h"

namespace ostrac::frontend {

CodeWriter::CodeWriter(state::Machine& s, std::span<std::uint8_t> block)
    : session_(s), block_(block) {}

void CodeWriter::ensure_room(std::size_t count) {
    if (block_.size() - static_cast<std::size_t>(pc_) < count) {
        session_.fatal_error("Program too large for its code block");
    }
}

void CodeWriter::op(code::Op op) {
    ensure_room(1);
    block_[static_cast<std::size_t>(pc_++)] = static_cast<std::uint8_t>(op);
}

void CodeWriter::push_int(std::int32_t value) {
    ensure_room(5);
    block_[static_cast<std::size_t>(pc_)] = static_cast<std::uint8_t>(code::Op::PUSHI);
    code::write_i32(block_.data() + pc_ + 1, value);
    pc_ += 5;
}

void CodeWriter::push_double(code::Op op, double value) {
    ensure_room(9);
    block_[static_cast<std::size_t>(pc_)] = static_cast<std::uint8_t>(op);
    code::write_f64(block_.data() + pc_ + 1, value);
    pc_ += 9;
}

void CodeWriter::push_text(code::Op op, std::string_view text) {
    // opcode, length modulo 256 (written, never relied on), text, zero byte
    ensure_room(text.size() + 3);
    std::uint8_t* out = block_.data() + pc_;
    *out++ = static_cast<std::uint8_t>(op);
    *out++ = static_cast<std::uint8_t>(text.size() % 256);
    for (const char c : text) *out++ = static_cast<std::uint8_t>(c);
    *out = 0;
    pc_ += static_cast<std::int32_t>(text.size() + 3);
}

void CodeWriter::patch_int(std::int32_t at, std::int32_t value) {
    block_[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(code::Op::PUSHI);
    code::write_i32(block_.data() + at + 1, value);
}

void CodeWriter::patch_op(std::int32_t at, code::Op op) {
    block_[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(op);
}

std::int32_t CodeWriter::open_slot(std::int32_t size) {
    ensure_room(static_cast<std::size_t>(size));
    const std::int32_t at = pc_;
    block_[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(code::Op::END);
    pc_ += size;
    return at;
}

}  // namespace ostrac::frontend
