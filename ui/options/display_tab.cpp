#include "options/display_tab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QSpinBox>

namespace ostrac::ui {

using state::DisplaySettings;
using state::Notation;

DisplayTab::DisplayTab(QWidget* parent) : OptionsPage(parent) {
    E_digits = new QSpinBox(this);
    E_digits->setObjectName("E_digits");
    E_digits->setRange(DisplaySettings::min_digits, DisplaySettings::max_digits);

    // In the order of state::Notation.
    CB_notation = new QComboBox(this);
    CB_notation->setObjectName("CB_notation");
    CB_notation->addItems({"automatic", "fixed", "scientific", "engineering"});

    CK_grouping = new QCheckBox("Group long integer parts in threes", this);
    CK_grouping->setObjectName("CK_grouping");

    auto* layout = new QFormLayout(this);
    layout->addRow("Significant digits:", E_digits);
    layout->addRow("Notation:", CB_notation);
    layout->addRow(CK_grouping);
}

void DisplayTab::show_settings(const Settings& settings) {
    const SessionOptions& options = settings.session;
    E_digits->setValue(options.display.real_digits());
    CB_notation->setCurrentIndex(static_cast<int>(options.display.notation));
    CK_grouping->setChecked(options.display.group_digits);
}

void DisplayTab::take_settings(Settings& settings) const {
    SessionOptions& options = settings.session;
    options.display.digits = E_digits->value();
    options.display.notation = static_cast<Notation>(CB_notation->currentIndex());
    options.display.group_digits = CK_grouping->isChecked();
}

}  // namespace ostrac::ui
