// The stored settings: ten search paths and the four console colours, kept
// with QSettings (organisation "ostrac", an INI file in the user's
// configuration folder), group "SearchPath". Each setting is declared once
// below, with its value name and its default side by side; SettingsStore is
// the one place that reads and writes them. The session's own options keep
// their groups (options/session_options.h).
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

#include "options/session_options.h"

namespace ostrac::ui {

// A colour as it is stored: 0x00BBGGRR (red in the low byte), written as
// decimal text.
using StoredColour = std::uint32_t;

QColor to_qcolor(StoredColour colour);
StoredColour to_stored_colour(const QColor& colour);

struct ConsoleColours {
    StoredColour memo_background;
    StoredColour memo_text;
    StoredColour edit_background;
    StoredColour edit_text;
    bool operator==(const ConsoleColours&) const = default;
};

struct ColourSetting {
    const char* key;
    StoredColour ConsoleColours::*member;
    StoredColour fallback;
};

inline constexpr std::array<ColourSetting, 4> colour_settings{{
    {"bkcMemo", &ConsoleColours::memo_background, 0xC05040},  // output pane background
    {"ftcMemo", &ConsoleColours::memo_text, 0xFFFFFF},        // output pane text
    {"bkcEdit", &ConsoleColours::edit_background, 0xD04040},  // entry field background
    {"ftcEdit", &ConsoleColours::edit_text, 0xFFFFFF},        // entry field text
}};

// Search paths are "L1" to "L10", empty when missing; L1 is the home folder.
inline constexpr int search_path_count = 10;
QString search_path_key(int number);  // number 1 to 10

using SearchPathList = std::array<QString, search_path_count>;

struct Settings {
    SearchPathList paths;
    ConsoleColours colours;
    SessionOptions session;
    static Settings defaults();
};

class SettingsStore {
public:
    static constexpr const char* organisation = "ostrac";
    static constexpr const char* application = "ostrac";
    static constexpr const char* group = "SearchPath";

    struct ReadResult {
        Settings settings;
        // One text per stored colour that is not a decimal integer; that
        // colour keeps its default, the others are read as usual.
        QStringList problems;
    };

    static ReadResult read();
    // Writes every value; false when the file cannot be written.
    static bool write(const Settings& settings);
};

}  // namespace ostrac::ui
