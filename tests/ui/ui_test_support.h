// Test environment of the desktop program's tests: a temporary settings
// folder (QSettings writes its INI file there), temporary per-user data and
// state folders and a temporary home folder stored as search path 1. Also the
// palettes and the contrast measure of the tests that look at colours, and
// the check that a window keeps its designed arrangement.
#pragma once

#include <QApplication>
#include <QDir>
#include <QPalette>
#include <QSettings>
#include <QStandardPaths>
#include <QStyle>
#include <QTemporaryDir>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <span>

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

// Contrast ratio of two colours as the web's accessibility guidelines
// define it: 1 for equal colours, 21 for black on white.
inline double contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& colour) {
        const auto channel = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
        const QColor rgb = colour.toRgb();
        return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) + 0.0722 * channel(rgb.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

inline QPalette dark_palette() {
    QPalette palette;
    const QColor window(0x2B, 0x2B, 0x2B);
    const QColor base(0x1E, 0x1E, 0x1E);
    const QColor text(0xE6, 0xE6, 0xE6);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, QColor(0x3A, 0x3A, 0x3A));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::PlaceholderText, QColor(0x90, 0x90, 0x90));
    palette.setColor(QPalette::Link, QColor(0x6E, 0xA8, 0xFE));
    palette.setColor(QPalette::Highlight, QColor(0x2F, 0x65, 0xCA));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    return palette;
}

inline QPalette light_palette() { return QApplication::style()->standardPalette(); }

// A control's place in the window as it was designed (pixels at 96 dpi).
struct DesignedPlace {
    const char* name;
    QRect rect;
};

// Where the laid-out controls break the designed arrangement: a control
// designed wholly left of (or above) another must be laid out wholly left
// of (above) it, whatever sizes the font gives them. Empty when they keep it.
inline QStringList arrangement_faults(const QWidget* window, std::span<const DesignedPlace> places) {
    QStringList faults;
    const auto placed = [window](const char* name) {
        const auto* control = window->findChild<const QWidget*>(name);
        return control == nullptr ? QRect() : QRect(control->mapTo(window, QPoint(0, 0)), control->size());
    };
    for (const DesignedPlace& a : places) {
        const QRect at = placed(a.name);
        if (at.isNull()) faults.append(QStringLiteral("%1 is missing").arg(a.name));
        for (const DesignedPlace& b : places) {
            const QRect bt = placed(b.name);
            if (at.isNull() || bt.isNull()) continue;
            if (a.rect.right() < b.rect.left() && at.right() >= bt.left()) {
                faults.append(QStringLiteral("%1 is no longer left of %2").arg(a.name, b.name));
            }
            if (a.rect.bottom() < b.rect.top() && at.bottom() >= bt.top()) {
                faults.append(QStringLiteral("%1 is no longer above %2").arg(a.name, b.name));
            }
        }
    }
    return faults;
}

}  // namespace ostrac::ui::test
