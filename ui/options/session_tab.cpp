#include "options/session_tab.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

namespace ostrac::ui {

SessionTab::SessionTab(QWidget* parent) : QWidget(parent) {
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
    show_options({});
}

void SessionTab::show_options(const SessionOptions& options) { CK_autosave->setChecked(options.autosave); }

void SessionTab::take_options(SessionOptions& options) const { options.autosave = CK_autosave->isChecked(); }

}  // namespace ostrac::ui
