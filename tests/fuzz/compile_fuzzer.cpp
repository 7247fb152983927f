// Any bytes compiled, without running the result, from each of the three
// sources: the first byte chooses a command line, an editor program (lines
// split at line breaks) or a program file read by LOAD.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "frontend/frontend.h"
#include "fuzz_session.h"

using namespace ostrac;

namespace {

std::vector<std::string> split_lines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t mode = data[0] % 3;
    const std::string_view text = fuzz::as_text(data + 1, size - 1);

    fuzz::FuzzSession fs;
    session::Session& s = fs.session;
    if (mode == 0) {
        // As the console's Enter key hands it over: the first step compiles.
        s.input_line = std::string(text.substr(0, session::Session::input_line_max));
    } else if (mode == 1) {
        frontend::select_editor_feed(s, split_lines(text));
    } else {
        frontend::select_file_source(
            s, frontend::ProgramFile{"fuzz.prg", std::make_unique<std::istringstream>(std::string(text))});
    }
    try {
        frontend::compile_block(s, session::slot::PROC0);
    } catch (const session::FatalError&) {
    }
    frontend::restart_scanner(s);
    return 0;
}
