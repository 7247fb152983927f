#include "options/settings.h"

#include <QSettings>
#include <limits>

namespace ostrac::ui {

namespace {

QSettings open_settings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, SettingsStore::organisation,
                     SettingsStore::application);
}

}  // namespace

QColor to_qcolor(StoredColour colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

StoredColour to_stored_colour(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return static_cast<StoredColour>(rgb.red()) | static_cast<StoredColour>(rgb.green()) << 8 |
           static_cast<StoredColour>(rgb.blue()) << 16;
}

QString search_path_key(int number) { return QStringLiteral("L%1").arg(number); }

Settings Settings::defaults() {
    Settings settings;
    for (const ColourSetting& colour : colour_settings) settings.colours.*colour.member = colour.fallback;
    return settings;
}

SettingsStore::ReadResult SettingsStore::read() {
    ReadResult result{Settings::defaults(), {}};
    QSettings stored = open_settings();
    stored.beginGroup(group);
    for (int k = 1; k <= search_path_count; ++k) {
        result.settings.paths[static_cast<std::size_t>(k - 1)] = stored.value(search_path_key(k)).toString();
    }
    for (const ColourSetting& colour : colour_settings) {
        if (!stored.contains(colour.key)) continue;
        const QString text = stored.value(colour.key).toString();
        bool ok = false;
        const qlonglong value = text.trimmed().toLongLong(&ok, 10);
        // A 32-bit colour value, written signed or unsigned.
        if (ok && value >= std::numeric_limits<std::int32_t>::min() &&
            value <= std::numeric_limits<std::uint32_t>::max()) {
            result.settings.colours.*colour.member = static_cast<StoredColour>(value);
        } else {
            result.problems.append(QStringLiteral("%1 = \"%2\" is not a decimal integer").arg(colour.key, text));
        }
    }
    stored.endGroup();
    result.settings.session = read_session_options(stored);
    return result;
}

bool SettingsStore::write(const Settings& settings) {
    QSettings stored = open_settings();
    stored.beginGroup(group);
    for (int k = 1; k <= search_path_count; ++k) {
        stored.setValue(search_path_key(k), settings.paths[static_cast<std::size_t>(k - 1)]);
    }
    for (const ColourSetting& colour : colour_settings) {
        stored.setValue(colour.key, QString::number(settings.colours.*colour.member));
    }
    stored.endGroup();
    write_session_options(stored, settings.session);
    stored.sync();
    return stored.status() == QSettings::NoError;
}

}  // namespace ostrac::ui
