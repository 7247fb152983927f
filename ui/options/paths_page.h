// The options dialog's "Paths" tab: the ten search paths for LOAD, entry 1
// being the home folder, where Save, Load and Help keep their files.
//
// Entry 1 shows the home folder in use: the per-user data folder when no
// folder is stored, and it is stored empty again as long as it shows that
// folder. Addpath fills the first empty entry from entry 2 on, and Delpath
// leaves entry 1 alone, so adding or removing search paths never moves the
// home folder. "Set home" makes the typed folder (or, with nothing typed,
// the per-user data folder) the home folder, once the user has confirmed
// what that means. The list keeps its edits when the dialog is cancelled.
#pragma once

#include "options/options_page.h"

class QLineEdit;
class QListWidget;

namespace ostrac::ui {

class PathsPage : public OptionsPage {
    Q_OBJECT

public:
    // Paths longer than this do not fit a search path entry.
    static constexpr int max_path_length = 49;

    explicit PathsPage(QWidget* parent = nullptr);

    void show_settings(const Settings& settings) override;
    void take_settings(Settings& settings) const override;

private:
    // Whether the path fits a search path entry; a message says so when
    // it does not.
    bool path_fits(const QString& path);
    void B_AddpathClick();
    void B_DelpathClick();
    void B_SethomeClick();

    QString default_home_;
    QListWidget* L_paths = nullptr;
    QLineEdit* E_path = nullptr;
};

}  // namespace ostrac::ui
