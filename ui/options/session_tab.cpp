#include "options/session_tab.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

namespace ostrac::ui {

SessionTab::SessionTab(QWidget* parent) : OptionsPage(parent) {
    CK_autosave = new QCheckBox("Keep the session between runs", this);
    CK_autosave->setObjectName("CK_autosave");
    auto* note = new QLabel(
        "Variables, functions and modes are saved into autosave.bin in the home folder when the program quits "
        "and loaded when it starts. Your own data.bin is not touched.",
        this);
    note->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CK_autosave);
    layout->addWidget(note);
    layout->addStretch();
}

void SessionTab::show_settings(const Settings& settings) {
    CK_autosave->setChecked(settings.session.autosave);
}

void SessionTab::take_settings(Settings& settings) const {
    settings.session.autosave = CK_autosave->isChecked();
}

}  // namespace ostrac::ui
