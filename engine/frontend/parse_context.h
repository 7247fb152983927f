// What the generated parser works with during one compilation: the scanner,
// the emitter, the context label, and the storage behind its parse stack.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "code/token.h"
#include "frontend/emitter.h"
#include "frontend/scanner.h"

namespace ostrac::state {
class Machine;
}

namespace ostrac::frontend {

using code::TokenValue;

struct ParseContext {
    ParseContext(state::Machine& s, Scanner& scanner, std::string& context_label, Emitter& emit)
        : session(s), scanner(scanner), context_label(context_label), emit(emit) {}

    // Names the construct being parsed, for the syntax error report.
    void label(std::string_view text) { context_label = text; }

    // The parse stack holds indexes into `values` for the tokens that carry
    // one (identifiers, strings, numbers).
    std::int32_t keep(TokenValue value) {
        values.push_back(std::move(value));
        return static_cast<std::int32_t>(values.size() - 1);
    }
    const std::string& text(std::int32_t index) const { return values[static_cast<std::size_t>(index)].text; }
    double number(std::int32_t index) const { return values[static_cast<std::size_t>(index)].number; }

    // Storage for the parse stack when it outgrows its first 200 entries.
    // Blocks live as long as the context, so an error that unwinds through
    // the parser leaves nothing behind.
    void* allocate_parse_stack(std::size_t bytes) {
        const std::size_t cells = (bytes + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t);
        stack_blocks.push_back(std::make_unique<std::max_align_t[]>(cells));
        return stack_blocks.back().get();
    }

    state::Machine& session;
    Scanner& scanner;
    std::string& context_label;
    Emitter& emit;
    std::vector<TokenValue> values;
    std::vector<std::unique_ptr<std::max_align_t[]>> stack_blocks;
};

// Parses the scanner's input up to its end, emitting code on the way.
// Returns 0 for a valid program, 1 after a syntax error and 2 when the parse
// stack is exhausted. Compile-time errors other than syntax errors go
// through fatal_error.
int parse_program(ParseContext& context);

}  // namespace ostrac::frontend
