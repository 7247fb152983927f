#include "frontend/frontend.h"

#include <utility>

#include "state/machine.h"

namespace ostrac::frontend {

Frontend::Frontend() = default;
Frontend::~Frontend() = default;

void restart_scanner(state::Machine& s) { s.frontend->scanner.restart(); }

void select_editor_feed(state::Machine& s, std::vector<std::string> lines) {
    s.frontend->scanner.select(make_editor_feed(std::move(lines)));
}

void select_file_source(state::Machine& s, ProgramFile file) {
    s.frontend->scanner.select(make_file_source(std::move(file)));
}

}  // namespace ostrac::frontend
