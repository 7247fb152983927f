// The options dialog's "Display" tab: how the console shows numbers. The
// significant digits of reals (the parts of complex numbers and matrix
// elements show two fewer), the notation, and a blank between groups of
// three digits of long integer parts.
#pragma once

#include "options/options_page.h"

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace ostrac::ui {

class DisplayTab : public OptionsPage {
    Q_OBJECT

public:
    explicit DisplayTab(QWidget* parent = nullptr);

    void show_settings(const Settings& settings) override;
    void take_settings(Settings& settings) const override;
    // Edits are dropped: the page shows the options in effect again.
    void cancelled(const Settings& settings) override { show_settings(settings); }

private:
    QSpinBox* E_digits = nullptr;
    QComboBox* CB_notation = nullptr;
    QCheckBox* CK_grouping = nullptr;
};

}  // namespace ostrac::ui
