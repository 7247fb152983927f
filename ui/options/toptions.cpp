#include "options/toptions.h"

#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <memory>

#include "common/clickable_label.h"
#include "common/clickable_panel.h"
#include "options/display_tab.h"
#include "options/session_tab.h"

namespace ostrac::ui {

namespace {

QColor text_colour(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

void set_text_colour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

QPushButton* make_button(const QString& text, const char* name, const QRect& geometry, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    return button;
}

}  // namespace

TOptions::TOptions(QWidget* parent) : QDialog(parent) {
    setObjectName("TOptions");
    setWindowTitle("OSTRAC Options");
    resize(316, 234);
    move(327, 193);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    PageControl1->setGeometry(0, 0, 313, 201);
    auto* paths_page = new QWidget;
    build_paths_page(paths_page);
    PageControl1->addTab(paths_page, "Paths");
    visuals_page_ = new QWidget;
    build_visuals_page(visuals_page_);
    PageControl1->addTab(visuals_page_, "Visuals");
    display_tab_ = new DisplayTab;
    PageControl1->addTab(display_tab_, "Display");
    session_tab_ = new SessionTab;
    PageControl1->addTab(session_tab_, "Session");
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int index) {
        if (PageControl1->widget(index) == visuals_page_) show_stored_colours();
    });

    connect(make_button("Ok", "B_Save", {8, 208, 57, 25}, this), &QPushButton::clicked, this,
            &TOptions::B_SaveClick);
    connect(make_button("Cancel", "B_Cancel", {256, 208, 51, 25}, this), &QPushButton::clicked, this,
            &QDialog::reject);

    SettingsStore::ReadResult stored = SettingsStore::read();
    settings_ = stored.settings;
    read_problems_ = stored.problems;
    for (const QString& path : settings_.paths) L_paths->addItem(path);
    show_stored_colours();
    // The session's tabs show the options in effect again after a Cancel.
    const auto show_session_options = [this] {
        display_tab_->show_options(settings_.session);
        session_tab_->show_options(settings_.session);
    };
    show_session_options();
    connect(this, &QDialog::rejected, this, show_session_options);
}

void TOptions::build_paths_page(QWidget* page) {
    auto* label = new QLabel("Search paths for the LOAD command", page);
    label->setObjectName("Label1");
    label->move(8, 8);

    L_paths = new QListWidget(page);
    L_paths->setObjectName("L_paths");
    L_paths->setGeometry(8, 24, 241, 121);

    E_path = new QLineEdit(page);
    E_path->setObjectName("E_path");
    E_path->setGeometry(8, 144, 241, 21);

    connect(make_button("Addpath", "B_Addpath", {255, 142, 49, 25}, page), &QPushButton::clicked, this,
            &TOptions::B_AddpathClick);
    connect(make_button("Delpath", "B_Delpath", {255, 49, 49, 25}, page), &QPushButton::clicked, this,
            &TOptions::B_DelpathClick);
}

void TOptions::build_visuals_page(QWidget* page) {
    auto* label = new QLabel("Click onto an Area or Text to change  the color", page);
    label->setObjectName("Label2");
    label->move(8, 0);

    auto* buttons = new ClickablePanel(page);
    buttons->setObjectName("PButtons");
    buttons->setGeometry(8, 32, 33, 121);
    buttons->setBackgroundRole(QPalette::Button);

    PMemo = new ClickablePanel(page);
    PMemo->setObjectName("PMemo");
    PMemo->setGeometry(40, 32, 209, 97);
    PMemo->setCursor(Qt::CrossCursor);
    LMemo = new ClickableLabel("Click Here to Change Text Color", PMemo);
    LMemo->setObjectName("LMemo");
    LMemo->move(32, 41);
    LMemo->setCursor(Qt::PointingHandCursor);

    PEdit = new ClickablePanel(page);
    PEdit->setObjectName("PEdit");
    PEdit->setGeometry(40, 128, 209, 25);
    PEdit->setCursor(Qt::CrossCursor);
    LEdit = new ClickableLabel("Click Here to Change Text Color", PEdit);
    LEdit->setObjectName("LEdit");
    LEdit->move(24, 5);
    LEdit->setCursor(Qt::PointingHandCursor);

    // Each colour dialog starts from the stored colour, not from the panel's
    // current one; the choice shows on the panel until "Ok" stores it.
    connect(PMemo, &ClickablePanel::clicked, this, [this] {
        const QColor chosen = QColorDialog::getColor(to_qcolor(settings_.colours.memo_background), this);
        if (chosen.isValid()) PMemo->set_colour(chosen);
    });
    connect(LMemo, &ClickableLabel::clicked, this, [this] {
        const QColor chosen = QColorDialog::getColor(to_qcolor(settings_.colours.memo_text), this);
        if (chosen.isValid()) set_text_colour(LMemo, chosen);
    });
    connect(PEdit, &ClickablePanel::clicked, this, [this] {
        const QColor chosen = QColorDialog::getColor(to_qcolor(settings_.colours.edit_background), this);
        if (chosen.isValid()) PEdit->set_colour(chosen);
    });
    connect(LEdit, &ClickableLabel::clicked, this, [this] {
        const QColor chosen = QColorDialog::getColor(to_qcolor(settings_.colours.edit_text), this);
        if (chosen.isValid()) set_text_colour(LEdit, chosen);
    });
}

void TOptions::show_stored_colours() {
    PMemo->set_colour(to_qcolor(settings_.colours.memo_background));
    set_text_colour(LMemo, to_qcolor(settings_.colours.memo_text));
    PEdit->set_colour(to_qcolor(settings_.colours.edit_background));
    set_text_colour(LEdit, to_qcolor(settings_.colours.edit_text));
}

void TOptions::B_AddpathClick() {
    const QString path = E_path->text();
    if (path.size() > max_path_length) {
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("A search path must be shorter than %1 characters; this one has %2:\n%3")
                                 .arg(max_path_length + 1)
                                 .arg(path.size())
                                 .arg(path));
        return;
    }
    for (int row = 0; row < L_paths->count(); ++row) {
        if (L_paths->item(row)->text().isEmpty()) {
            L_paths->item(row)->setText(path);
            E_path->clear();
            return;
        }
    }
}

void TOptions::B_DelpathClick() {
    // The first entry, the home folder, cannot be deleted here.
    const int row = L_paths->currentRow();
    if (row < 1 || L_paths->currentItem() == nullptr || !L_paths->currentItem()->isSelected()) return;
    const std::unique_ptr<QListWidgetItem> removed(L_paths->takeItem(row));
    L_paths->addItem(QString());
}

void TOptions::B_SaveClick() {
    settings_.colours = {to_stored_colour(PMemo->colour()), to_stored_colour(text_colour(LMemo)),
                         to_stored_colour(PEdit->colour()), to_stored_colour(text_colour(LEdit))};
    for (int row = 0; row < L_paths->count(); ++row) {
        settings_.paths[static_cast<std::size_t>(row)] = L_paths->item(row)->text();
    }
    display_tab_->take_options(settings_.session);
    session_tab_->take_options(settings_.session);
    emit settingsAccepted(settings_);
    if (!SettingsStore::write(settings_)) {
        QMessageBox::warning(this, windowTitle(), "The settings could not be written to the configuration file.");
    }
    accept();
}

}  // namespace ostrac::ui
