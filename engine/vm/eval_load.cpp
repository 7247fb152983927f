#include "vm/eval_load.h"

#include <fstream>
#include <memory>
#include <string>

#include "frontend/frontend.h"
#include "state/machine.h"
#include "state/stack_ops.h"
#include "vm/frames.h"

namespace ostrac::vm {

using state::pop_string;
using state::push_frame;
using state::slot::EVAL0;
using state::slot::PROC0;
using state::Text;

void eval_text(state::Machine& s, std::string_view text, std::int32_t return_offset) {
    if (text.size() > state::Machine::input_line_max) {
        s.fatal_error("Text to evaluate is longer than 254 characters");
    }
    // Compiling over code that is still to run would run garbage.
    if (block_in_use(s, EVAL0)) s.fatal_error("Cannot call eval from eval");
    s.input_line = std::string(text);
    const std::int32_t caller_line = s.current_line;
    frontend::restart_scanner(s);
    frontend::compile_block(s, EVAL0);
    s.eval_caller_line = caller_line;
    push_frame(s, return_offset);
    s.symbols.set_kind(EVAL0, s.current_block);
    s.set_position(EVAL0, 0);
}

void op_eval(state::Machine& s) {
    const Text text = pop_string(s);
    eval_text(s, *text, s.pc);
}

void op_load(state::Machine& s) {
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
