// Turns a code block into readable lines ("0031 PUSHI 11", "0036 FOR"), for
// tests of the compiler's output and for diagnostics.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ostrac::code {

// One line per instruction from offset 0 up to and including the first
// END (or the end of the bytes when `stop_at_end` is false). Inline operands
// follow the mnemonic: doubles with %.17g, ints in decimal, texts in quotes.
std::vector<std::string> disassemble(std::span<const std::uint8_t> code, bool stop_at_end = true);

}  // namespace ostrac::code
