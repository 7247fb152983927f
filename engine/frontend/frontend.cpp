#include "frontend/frontend.h"

#include <utility>

#include "session/session.h"

namespace ostrac::frontend {

Frontend::Frontend() = default;
Frontend::~Frontend() = default;

void restart_scanner(session::Session& s) { s.frontend->scanner.restart(); }

void select_editor_feed(session::Session& s, std::vector<std::string> lines) {
    s.frontend->scanner.select(make_editor_feed(std::move(lines)));
}

void select_file_source(session::Session& s, ProgramFile file) {
    s.frontend->scanner.select(make_file_source(std::move(file)));
}

}  // namespace ostrac::frontend
