#include "options/toptions.h"

#include <QBoxLayout>
#include <QPushButton>
#include <QTabWidget>

#include "common/widget_making.h"
#include "common/window_stacking.h"
#include "options/display_tab.h"
#include "options/options_page.h"
#include "options/paths_page.h"
#include "options/session_tab.h"
#include "options/visuals_page.h"

namespace ostrac::ui {

TOptions::TOptions(QWidget* parent) : QDialog(parent) {
    setObjectName("TOptions");
    setWindowTitle("OSTRAC Options");
    keep_above_windows(this);

    SettingsStore::ReadResult stored = SettingsStore::read();
    settings_ = stored.settings;
    read_problems_ = stored.problems;

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    add_page(new PathsPage, "Paths");
    add_page(new VisualsPage, "Visuals");
    add_page(new DisplayTab, "Display");
    add_page(new SessionTab, "Session");
    connect(PageControl1, &QTabWidget::currentChanged, this,
            [this](int index) { pages_[static_cast<std::size_t>(index)]->page_shown(settings_); });

    auto* ok = make_push_button("Ok", "B_Save", this);
    connect(ok, &QPushButton::clicked, this, &TOptions::B_SaveClick);
    auto* cancel = make_push_button("Cancel", "B_Cancel", this);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 8, 8);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(buttons);
    buttons->setContentsMargins(8, 0, 0, 0);

    // The designed 324 x 261 window, or what the font needs.
    resize(QSize(316, 234).expandedTo(minimumSizeHint()));
    move(327, 193);

    connect(this, &QDialog::rejected, this, [this] {
        for (OptionsPage* page : pages_) page->cancelled(settings_);
    });
}

void TOptions::add_page(OptionsPage* page, const QString& title) {
    page->show_settings(settings_);
    PageControl1->addTab(page, title);
    pages_.push_back(page);
}

void TOptions::B_SaveClick() {
    for (const OptionsPage* page : pages_) page->take_settings(settings_);
    emit settingsAccepted(settings_);
    if (!SettingsStore::write(settings_)) warn(this, "The settings could not be written to the configuration file.");
    accept();
}

}  // namespace ostrac::ui
