// Any bytes as code blocks, as a state file may carry them, run. The first
// byte chooses the debug mode (bits 0 and 1) and the debugger's target line
// (the other bits, less one); the rest is split at each "|||" into the code
// of PROC0, the code of EVAL0 and the bodies of routines r2, r3 and on. A
// routine's first byte says whether it is a procedure (bit 0) and how many
// arguments it is called with (bits 1 and 2). PROC0 runs as a command; then
// each routine, and EVAL0, is called by a command line, with a variable, a
// number, a string and a matrix as arguments. Every run stops after a bounded
// number of steps, and debugger stops are resumed a bounded number of times.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_session.h"
#include "state/symbols.h"

using namespace ostrac;

namespace {

constexpr std::string_view separator = "|||";
constexpr int max_routines = 8;
constexpr int steps_per_run = 20000;
constexpr int resumes_per_run = 10;

std::vector<std::string_view> split_blocks(std::string_view bytes) {
    std::vector<std::string_view> blocks;
    for (;;) {
        const std::size_t at = bytes.find(separator);
        blocks.push_back(bytes.substr(0, at));
        if (at == std::string_view::npos) return blocks;
        bytes.remove_prefix(at + separator.size());
    }
}

// Replaces the code of a main block, which keeps its size: zeros (END) follow.
void fill_block(session::Session& s, int block, std::string_view code) {
    std::vector<std::uint8_t>& buffer = s.symbols[block].code;
    std::fill(buffer.begin(), buffer.end(), 0);
    std::copy_n(code.begin(), std::min(code.size(), buffer.size()), buffer.begin());
    s.symbols.note_code_written(block);
}

// What a definition leaves: a function or procedure entry owning the body.
void define_routine(session::Session& s, const std::string& name, bool procedure, std::string_view body) {
    const std::int32_t id = state::lookup_or_create(s, name, state::kind::global);
    s.symbols.set_kind(id, procedure ? state::kind::procedure : state::kind::function);
    if (procedure) s.symbols[id].type = state::ValueType::Procedure;
    s.symbols.set_code(id, std::vector<std::uint8_t>(body.begin(), body.end()));
}

std::string call_line(const std::string& name, int arguments) {
    static constexpr std::string_view values[] = {"v", "1", "\"s\"", "[1, 2]"};
    if (arguments == 0) return name;
    std::string line = name + "(";
    for (int i = 0; i < arguments; ++i) {
        if (i > 0) line += ", ";
        line += values[i];
    }
    return line + ")";
}

// Runs what was submitted or entered; a debugger stop is resumed as the
// editor's Run button would.
void run_resuming(fuzz::FuzzSession& fs) {
    for (int i = 0; i < resumes_per_run; ++i) {
        fuzz::run_bounded(fs.session, fs.host, steps_per_run);
        if (fs.session.run_state != session::RunState::Paused) return;
        fs.session.run_state = session::RunState::Running;
    }
    fs.session.run_state = session::RunState::BreakRequested;
    fs.session.step();
}

// Each command is compiled and run in the debug mode the input chose (an
// error or the end of a command leaves debug mode).
void run_line(fuzz::FuzzSession& fs, session::DebugMode debug_mode, const std::string& line) {
    fs.session.debug_mode = debug_mode;
    if (fs.session.submit(line)) run_resuming(fs);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::vector<std::string_view> blocks = split_blocks(fuzz::as_text(data + 1, size - 1));

    fuzz::FuzzSession fs;
    session::Session& s = fs.session;
    try {
        fill_block(s, session::slot::PROC0, blocks[0]);
        if (blocks.size() > 1) fill_block(s, session::slot::EVAL0, blocks[1]);
        std::vector<std::string> calls;
        for (std::size_t i = 2; i < blocks.size() && i < 2 + max_routines; ++i) {
            if (blocks[i].empty()) continue;
            const auto header = static_cast<std::uint8_t>(blocks[i][0]);
            const bool procedure = (header & 1) != 0;
            const std::string name = "r" + std::to_string(i);
            define_routine(s, name, procedure, blocks[i].substr(1));
            // A function is called with one argument at least: the language
            // has no call without parentheses.
            calls.push_back(call_line(name, std::max((header >> 1) & 3, procedure ? 0 : 1)));
        }
        calls.push_back(call_line("EVAL0", 1));

        const auto debug_mode = static_cast<session::DebugMode>(data[0] & 3);
        s.target_line = (data[0] >> 2) - 1;
        s.debug_mode = debug_mode;
        s.enter_main_block();
        s.run_state = session::RunState::Running;
        run_resuming(fs);
        run_line(fs, debug_mode, "v = 2");
        for (const std::string& line : calls) run_line(fs, debug_mode, line);
    } catch (const session::FatalError&) {
    }
    return 0;
}
