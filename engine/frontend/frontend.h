// The language front end as the rest of the engine sees it: one-pass
// compilation of the current source into a code block.
#pragma once

#include <string>
#include <vector>

namespace ostrac::session {
class Session;
}

namespace ostrac::frontend {

// Scanner source and compile-time state that outlives one compilation.
class Frontend {
public:
    Frontend();
    ~Frontend();
};

// Compiles the current source (console feed, editor feed or file) into
// `block` (PROC0 or EVAL0) from offset 0. Errors go through fatal_error.
void compile_block(session::Session& s, int block);

// Discards buffered text; the next compilation reads the console feed.
void restart_scanner(session::Session& s);

}  // namespace ostrac::frontend
