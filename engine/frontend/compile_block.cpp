// The compilation driver: one parse of the selected source into a block,
// then the label patching.
#include <span>
#include <string>

#include "frontend/emitter.h"
#include "frontend/frontend.h"
#include "frontend/parse_context.h"
#include "state/machine.h"

namespace ostrac::frontend {
namespace {

// The selected source serves one compilation: however it ends, the console
// feed is selected again and nothing buffered is kept.
class SourceRelease {
public:
    explicit SourceRelease(Scanner& scanner) : scanner_(scanner) {}
    ~SourceRelease() { scanner_.restart(); }
    SourceRelease(const SourceRelease&) = delete;
    SourceRelease& operator=(const SourceRelease&) = delete;

private:
    Scanner& scanner_;
};

}  // namespace

void compile_block(state::Machine& s, int block) {
    Frontend& frontend = *s.frontend;
    const SourceRelease release(frontend.scanner);

    s.current_line = 0;
    s.symbols.note_code_written(block);
    Emitter emit(s, std::span<std::uint8_t>(s.symbols[block].code), s.debug_mode != state::DebugMode::Off);
    ParseContext context(s, frontend.scanner, frontend.context_label, emit);

    const int result = parse_program(context);
    if (result != 0) {
        const char* what = result == 2 ? "parser stack overflow" : "parse error";
        s.console_print(std::string(what) + " in " + frontend.context_label +
                        " (line=" + std::to_string(s.current_line) + ")\n");
        s.fatal_error("Sintax error");
    }
    emit.resolve_labels();
}

}  // namespace ostrac::frontend
