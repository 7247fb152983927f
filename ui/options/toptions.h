// The options dialog: one tab per page of settings, "Paths" (the LOAD
// search paths and the home folder), "Visuals" (the console colours),
// "Display" (how numbers are shown) and "Session" (the autosave). It reads
// the stored settings once, when it is created; "Ok" takes what the pages
// hold, stores it and reports it through settingsAccepted(); "Cancel" only
// hides it: the edited paths and colours stay for the next "Ok", the Display
// and Session pages show the options in effect again. Closing only hides the
// dialog, which stays on top of the other windows.
#pragma once

#include <QDialog>
#include <vector>

#include "options/settings.h"

class QTabWidget;

namespace ostrac::ui {

class OptionsPage;

class TOptions : public QDialog {
    Q_OBJECT

public:
    explicit TOptions(QWidget* parent = nullptr);

    // The settings in effect: as read at creation, then as of the last "Ok".
    const Settings& settings() const { return settings_; }
    // What went wrong while the stored settings were read (empty if nothing).
    const QStringList& read_problems() const { return read_problems_; }

signals:
    void settingsAccepted(const ostrac::ui::Settings& settings);

private:
    // A tab showing `page`, which then shows the settings read at start-up.
    void add_page(OptionsPage* page, const QString& title);
    void B_SaveClick();

    Settings settings_;
    QStringList read_problems_;
    QTabWidget* PageControl1 = nullptr;
    std::vector<OptionsPage*> pages_;
};

}  // namespace ostrac::ui
