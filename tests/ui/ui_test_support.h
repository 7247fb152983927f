// Test environment of the desktop program's tests: a temporary settings
// folder (QSettings writes its INI file there), temporary per-user data and
// state folders and a temporary home folder stored as search path 1.
#pragma once

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "options/settings.h"

namespace ostrac::ui::test {

class TestFolders {
public:
    TestFolders() {
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, root_.filePath("config"));
        qputenv("XDG_DATA_HOME", root_.filePath("data").toUtf8());
        qputenv("XDG_STATE_HOME", root_.filePath("state").toUtf8());
        QDir().mkpath(home());
    }

    QString home() const { return root_.filePath("home"); }
    QString settings_file() const {
        return root_.filePath(QStringLiteral("config/%1/%2.ini")
                                  .arg(SettingsStore::organisation, SettingsStore::application));
    }

    // Stores every setting as the options dialog's "Ok" does, with the home
    // folder as search path 1.
    void store_defaults_with_home() const {
        Settings settings = Settings::defaults();
        settings.paths[0] = home();
        SettingsStore::write(settings);
    }

    QSettings stored() const { return QSettings(settings_file(), QSettings::IniFormat); }

private:
    QTemporaryDir root_;
};

}  // namespace ostrac::ui::test
