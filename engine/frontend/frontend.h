// The language front end as the rest of the engine sees it: one-pass
// compilation of the selected source into a code block.
//
// A compilation reads exactly one source. The console feed (the text of
// `input_line`) is the default; the editor feed and a file source are
// selected for the one compilation that follows, and whatever way that
// compilation ends, the console feed is selected again (the editor feed
// starts over at its first line next time, a program file is closed).
#pragma once

#include <string>
#include <vector>

#include "frontend/scanner.h"
#include "frontend/source.h"

namespace ostrac::state {
class Machine;
}

namespace ostrac::frontend {

// Front-end state that outlives one compilation. Owned by the session,
// reached through the machine.
class Frontend {
public:
    Frontend();
    ~Frontend();
    Frontend(const Frontend&) = delete;
    Frontend& operator=(const Frontend&) = delete;

    Scanner scanner;

    // The construct named by the last label point the parser passed, shown
    // by syntax error reports. Kept from one compilation to the next.
    std::string context_label;
};

// Compiles the selected source into `block` (state::slot::PROC0 or EVAL0)
// from offset 0, ending the code with END. The session's execution position
// is left alone. A syntax error prints "parse error in <label> (line=<n>)"
// and then fails with "Sintax error"; every error goes through fatal_error.
// Code written before an error stays in the block.
void compile_block(state::Machine& s, int block);

// Discards buffered text; the next compilation reads the console feed.
void restart_scanner(state::Machine& s);

// The next compilation reads these program lines (a copy of the editor's
// text taken when the run starts), then an empty line and "exit".
void select_editor_feed(state::Machine& s, std::vector<std::string> lines);

// The next compilation reads this opened program file up to its end.
void select_file_source(state::Machine& s, ProgramFile file);

}  // namespace ostrac::frontend
