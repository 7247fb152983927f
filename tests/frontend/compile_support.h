// Helpers for front-end tests: compile a console line or editor lines into a
// block and read the result back as a disassembly listing.
#pragma once

#include <istream>
#include <sstream>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "code/disassembler.h"
#include "frontend/frontend.h"
#include "session/session.h"
#include "support/test_session.h"

namespace ostrac::test {

// The listing of `block` from offset 0 up to and including the first END.
inline std::vector<std::string> listing(TestSession& ts, int block = session::slot::PROC0) {
    return code::disassemble(ts.session->symbols[block].code);
}

// Compiles `line` as typed at the console and returns the listing.
inline std::vector<std::string> compile_line(TestSession& ts, std::string_view line,
                                             int block = session::slot::PROC0) {
    ts.session->input_line = std::string(line);
    frontend::compile_block(*ts.session, block);
    return listing(ts, block);
}

// Compiles editor lines and returns the listing.
inline std::vector<std::string> compile_program(TestSession& ts, std::vector<std::string> lines,
                                                int block = session::slot::PROC0) {
    frontend::select_editor_feed(*ts.session, std::move(lines));
    frontend::compile_block(*ts.session, block);
    return listing(ts, block);
}

// A listing in one line without offsets, for readable expectations:
// identifiers bare, PUSHF values bare, PUSHI n as #n, PUSHIMAG v as vi,
// strings quoted, every other instruction by name. The final END is left
// out.
inline std::string postfix(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) {
        std::string item = line.substr(5);  // drop "0000 "
        if (item == "END") continue;
        if (item.rfind("PUSHID \"", 0) == 0) {
            item = item.substr(8, item.size() - 9);
        } else if (item.rfind("PUSHF ", 0) == 0) {
            item = item.substr(6);
        } else if (item.rfind("PUSHI ", 0) == 0) {
            item = "#" + item.substr(6);
        } else if (item.rfind("PUSHIMAG ", 0) == 0) {
            item = item.substr(9) + "i";
        } else if (item.rfind("PUSHSTR ", 0) == 0) {
            item = item.substr(8);
        }
        if (!out.empty()) out += ' ';
        out += item;
    }
    return out;
}

// A program file whose every read fails, as on a device error.
class FailingStream : public std::istream {
public:
    FailingStream() : std::istream(&buffer_) {}

private:
    class FailingBuffer : public std::streambuf {
    protected:
        int_type underflow() override { throw std::runtime_error("device error"); }
    };
    FailingBuffer buffer_;
};

}  // namespace ostrac::test
