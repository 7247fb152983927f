#include "vm/eval_load.h"

#include <fstream>
#include <memory>
#include <string>
#include <variant>

#include "frontend/frontend.h"
#include "session/session.h"
#include "vm/stack_ops.h"

namespace ostrac::vm {

using session::slot::EVAL0;
using session::slot::PROC0;

namespace {

// Whether EVAL0's code is running now or waits further down the call chain
// for a function called from evaluated text to return: a return frame is a
// block cell directly on a return-offset cell.
bool eval_block_in_use(const session::Session& s) {
    if (s.current_block == EVAL0) return true;
    for (int i = 1; i < s.stack.depth(); ++i) {
        const auto* block = get_if<BlockCell>(&s.stack.at(i));
        if (block != nullptr && block->value == EVAL0 &&
            holds_alternative<ReturnOffsetCell>(s.stack.at(i - 1))) {
            return true;
        }
    }
    return false;
}

}  // namespace

void eval_text(session::Session& s, std::string_view text, std::int32_t return_offset) {
    if (text.size() > session::Session::input_line_max) {
        s.fatal_error("Text to evaluate is longer than 254 characters");
    }
    // Compiling over code that is still to run would run garbage.
    if (eval_block_in_use(s)) s.fatal_error("Cannot call eval from eval");
    s.input_line = std::string(text);
    const std::int32_t caller_line = s.current_line;
    frontend::restart_scanner(s);
    frontend::compile_block(s, EVAL0);
    s.eval_caller_line = caller_line;
    push_frame(s, return_offset);
    s.symbols.set_kind(EVAL0, s.current_block);
    s.set_position(EVAL0, 0);
}

void op_eval(session::Session& s) {
    const Text text = pop_string(s);
    eval_text(s, *text, s.pc);
}

void op_load(session::Session& s) {
    const Text name = pop_string(s);
    // The name as given (relative to the working folder), then each search
    // path in order.
    std::string path = *name;
    auto file = std::make_unique<std::ifstream>(path);
    for (const std::string& folder : s.search_path) {
        if (file->is_open() || folder.empty()) continue;
        path = folder + "/" + *name;
        file = std::make_unique<std::ifstream>(path);
    }
    if (!file->is_open()) s.fatal_error("Cannot open the file");
    if (s.current_block != PROC0 || s.code != s.symbols[PROC0].code.data()) {
        s.fatal_error("Cannot call load from eval or function");
    }

    frontend::select_file_source(s, frontend::ProgramFile{path, std::move(file)});
    frontend::compile_block(s, PROC0);
    s.set_position(PROC0, 0);
    s.stack.cut(2);  // the command's own return frame
}

}  // namespace ostrac::vm
