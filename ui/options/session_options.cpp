#include "options/session_options.h"

#include <array>
#include <cstddef>

namespace ostrac::ui {

namespace {

using state::DisplaySettings;
using state::Notation;

// Stored as the terminal front end names them on its command line.
constexpr std::array<const char*, 4> notation_names{"auto", "fix", "sci", "eng"};

}  // namespace

SessionOptions read_session_options(QSettings& stored) {
    SessionOptions options;
    stored.beginGroup("Display");
    bool ok = false;
    const int digits = stored.value("Digits").toInt(&ok);
    if (ok && digits >= DisplaySettings::min_digits && digits <= DisplaySettings::max_digits) {
        options.display.digits = digits;
    }
    const QString notation = stored.value("Notation").toString();
    for (std::size_t i = 0; i < notation_names.size(); ++i) {
        if (notation == QLatin1String(notation_names[i])) options.display.notation = static_cast<Notation>(i);
    }
    options.display.group_digits = stored.value("Grouping", false).toBool();
    stored.endGroup();
    stored.beginGroup("Session");
    options.autosave = stored.value("Autosave", true).toBool();
    stored.endGroup();
    return options;
}

void write_session_options(QSettings& stored, const SessionOptions& options) {
    stored.beginGroup("Display");
    stored.setValue("Digits", options.display.real_digits());
    stored.setValue("Notation", notation_names[static_cast<std::size_t>(options.display.notation)]);
    stored.setValue("Grouping", options.display.group_digits);
    stored.endGroup();
    stored.beginGroup("Session");
    stored.setValue("Autosave", options.autosave);
    stored.endGroup();
}

}  // namespace ostrac::ui
