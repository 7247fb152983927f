// The options dialog's "Session" tab: whether the whole session is saved
// into autosave.bin when the program quits and loaded at the next start.
#pragma once

#include "options/options_page.h"

class QCheckBox;

namespace ostrac::ui {

class SessionTab : public OptionsPage {
    Q_OBJECT

public:
    explicit SessionTab(QWidget* parent = nullptr);

    void show_settings(const Settings& settings) override;
    void take_settings(Settings& settings) const override;
    // Edits are dropped: the page shows the options in effect again.
    void cancelled(const Settings& settings) override { show_settings(settings); }

private:
    QCheckBox* CK_autosave = nullptr;
};

}  // namespace ostrac::ui
