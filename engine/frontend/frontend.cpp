#include "frontend/frontend.h"

#include "session/session.h"

namespace ostrac::frontend {

Frontend::Frontend() = default;
Frontend::~Frontend() = default;

void compile_block(session::Session& s, int) {
    s.fatal_error("The compiler is not available in this build");
}

void restart_scanner(session::Session&) {}

}  // namespace ostrac::frontend
