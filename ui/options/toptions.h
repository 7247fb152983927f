// The options dialog: the LOAD search paths (tab "Paths"), the console
// colours (tab "Visuals"), how numbers are shown (tab "Display") and the
// autosave (tab "Session"). It reads the stored settings once, when it is
// created; "Ok" takes the edited list and colours, stores them and reports
// them through settingsAccepted(); "Cancel" only hides it, and the edited
// list stays for the next "Ok" (the Display and Session tabs show the
// options in effect again). Closing only hides the dialog.
#pragma once

#include <QDialog>

#include "options/settings.h"

class QLineEdit;
class QListWidget;
class QTabWidget;

namespace ostrac::ui {

class ClickableLabel;
class ClickablePanel;
class DisplayTab;
class SessionTab;

class TOptions : public QDialog {
    Q_OBJECT

public:
    // Paths longer than this do not fit a search path entry.
    static constexpr int max_path_length = 49;

    explicit TOptions(QWidget* parent = nullptr);

    // The settings in effect: as read at creation, then as of the last "Ok".
    const Settings& settings() const { return settings_; }
    // What went wrong while the stored settings were read (empty if nothing).
    const QStringList& read_problems() const { return read_problems_; }

signals:
    void settingsAccepted(const ostrac::ui::Settings& settings);

private:
    void build_paths_page(QWidget* page);
    void build_visuals_page(QWidget* page);
    void show_stored_colours();

    void B_AddpathClick();
    void B_DelpathClick();
    void B_SaveClick();

    Settings settings_;
    QStringList read_problems_;

    QTabWidget* PageControl1 = nullptr;
    QListWidget* L_paths = nullptr;
    QLineEdit* E_path = nullptr;
    QWidget* visuals_page_ = nullptr;
    ClickablePanel* PMemo = nullptr;
    ClickableLabel* LMemo = nullptr;
    ClickablePanel* PEdit = nullptr;
    ClickableLabel* LEdit = nullptr;
    DisplayTab* display_tab_ = nullptr;
    SessionTab* session_tab_ = nullptr;
};

}  // namespace ostrac::ui
