// The options of the session itself, kept with the other settings: how the
// console shows numbers (group "Display") and whether the whole session is
// kept between runs in autosave.bin (group "Session"). A value that is
// missing or cannot be read keeps its default, which shows numbers as the
// calculator always has and keeps the session.
#pragma once

#include <QSettings>

#include "state/display_settings.h"

namespace ostrac::ui {

struct SessionOptions {
    state::DisplaySettings display;
    bool autosave = true;
    bool operator==(const SessionOptions&) const = default;
};

SessionOptions read_session_options(QSettings& stored);
void write_session_options(QSettings& stored, const SessionOptions& options);

}  // namespace ostrac::ui
