#include "code/disassembler.h"

#include <cstdio>

#include "code/code_reader.h"
#include "code/opcodes.h"

namespace ostrac::code {

std::vector<std::string> disassemble(std::span<const std::uint8_t> code, bool stop_at_end) {
    std::vector<std::string> lines;
    std::size_t pc = 0;
    char head[24];
    while (pc < code.size()) {
        const std::size_t at = pc;
        const std::uint8_t byte = code[pc++];
        std::snprintf(head, sizeof head, "%04zu ", at);
        std::string line = head;
        const OpInfo* info = op_info(byte);
        if (info == nullptr) {
            line += "BYTE " + std::to_string(byte);
            lines.push_back(std::move(line));
            continue;
        }
        line += info->name.substr(3);  // without "OP_"
        const std::size_t left = code.size() - pc;
        char number[40];
        switch (info->operand) {
        case Inline::None:
            break;
        case Inline::Double:
            if (left < 8) { line += " <truncated>"; pc = code.size(); break; }
            std::snprintf(number, sizeof number, " %.17g", read_f64(code.data() + pc));
            line += number;
            pc += 8;
            break;
        case Inline::Int32:
            if (left < 4) { line += " <truncated>"; pc = code.size(); break; }
            line += " " + std::to_string(read_i32(code.data() + pc));
            pc += 4;
            break;
        case Inline::Text: {
            if (left < 1) { line += " <truncated>"; break; }
            ++pc;  // the length byte is not relied on
            std::string text;
            while (pc < code.size() && code[pc] != 0) text += static_cast<char>(code[pc++]);
            if (pc < code.size()) ++pc;
            line += " \"" + text + "\"";
            break;
        }
        }
        lines.push_back(std::move(line));
        if (stop_at_end && byte == 0) break;
    }
    return lines;
}

}  // namespace ostrac::code
