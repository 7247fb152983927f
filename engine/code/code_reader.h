// Little-endian readers and writers for inline operands. Blocks are file
// contents too (state files), so every read is explicit about widths.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace ostrac::code {

inline std::int32_t read_i32(const std::uint8_t* p) {
    std::uint32_t v = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                      (static_cast<std::uint32_t>(p[2]) << 16) |
                      (static_cast<std::uint32_t>(p[3]) << 24);
    return static_cast<std::int32_t>(v);
}

inline double read_f64(const std::uint8_t* p) {
    std::uint64_t bits = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&bits, p, sizeof bits);  // one load where the bytes already lie in order
    } else {
        for (int i = 7; i >= 0; --i) bits = (bits << 8) | p[i];
    }
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

inline void write_i32(std::uint8_t* p, std::int32_t value) {
    auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline void write_f64(std::uint8_t* p, double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 8; ++i) p[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

}  // namespace ostrac::code
