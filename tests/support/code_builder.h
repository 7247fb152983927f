// Hand assembly of byte code for tests.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "code/code_reader.h"
#include "code/opcodes.h"

namespace ostrac::test {

class CodeBuilder {
public:
    CodeBuilder& op(code::Op o) {
        bytes.push_back(static_cast<std::uint8_t>(o));
        return *this;
    }
    CodeBuilder& byte(std::uint8_t b) {
        bytes.push_back(b);
        return *this;
    }
    CodeBuilder& pushf(double v) { return op(code::Op::PUSHF).f64(v); }
    CodeBuilder& pushimag(double v) { return op(code::Op::PUSHIMAG).f64(v); }
    CodeBuilder& pushi(std::int32_t v) {
        op(code::Op::PUSHI);
        std::uint8_t raw[4];
        code::write_i32(raw, v);
        bytes.insert(bytes.end(), raw, raw + 4);
        return *this;
    }
    CodeBuilder& pushid(std::string_view name) { return op(code::Op::PUSHID).text(name); }
    CodeBuilder& pushstr(std::string_view s) { return op(code::Op::PUSHSTR).text(s); }
    // A line marker: PUSHI line, LINE.
    CodeBuilder& line(std::int32_t n) { return pushi(n).op(code::Op::LINE); }

    std::vector<std::uint8_t> bytes;

private:
    CodeBuilder& f64(double v) {
        std::uint8_t raw[8];
        code::write_f64(raw, v);
        bytes.insert(bytes.end(), raw, raw + 8);
        return *this;
    }
    CodeBuilder& text(std::string_view s) {
        bytes.push_back(static_cast<std::uint8_t>(s.size() & 0xFF));
        bytes.insert(bytes.end(), s.begin(), s.end());
        bytes.push_back(0);
        return *this;
    }
};

}  // namespace ostrac::test
