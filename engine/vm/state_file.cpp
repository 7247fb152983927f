#include "vm/state_file.h"

#include <fstream>
#include <string>

#include "session/session.h"

namespace ostrac::vm {

void state_load(session::Session& s, std::string_view name) {
    const std::string path = s.home_folder() + "/" + std::string(name);
    std::ifstream in(path, std::ios::binary);
    if (!in) s.fatal_error("Imposible abrir fichero de estado");
    s.fatal_error("State files cannot be read by this build yet");
}

}  // namespace ostrac::vm
