#include "options/search_paths.h"

#include "session/home_folder.h"

namespace ostrac::ui {

static_assert(search_path_count == session::Session::search_path_count);

SessionSearchPaths session_search_paths(const SearchPathList& paths) {
    SessionSearchPaths result;
    for (std::size_t i = 0; i < paths.size(); ++i) result[i] = paths[i].toStdString();
    if (result[0].empty()) result[0] = session::default_home_folder().string();
    return result;
}

}  // namespace ostrac::ui
