// The search paths as the session uses them. An empty first path (the home
// folder) means the per-user data folder, the one the terminal front end uses
// as well, never the root folder.
#pragma once

#include <array>
#include <string>

#include "options/settings.h"
#include "session/session.h"

namespace ostrac::ui {

using SessionSearchPaths = std::array<std::string, session::Session::search_path_count>;

SessionSearchPaths session_search_paths(const SearchPathList& paths);

}  // namespace ostrac::ui
