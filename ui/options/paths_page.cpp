#include "options/paths_page.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <memory>

#include "common/widget_making.h"
#include "common/window_stacking.h"
#include "session/home_folder.h"

namespace ostrac::ui {

namespace {

constexpr int home_row = 0;

// The page's buttons leave Enter to the dialog's Ok.
QPushButton* make_button(const QString& text, const char* name, QWidget* parent) {
    QPushButton* button = make_push_button(text, name, parent);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

PathsPage::PathsPage(QWidget* parent)
    : OptionsPage(parent), default_home_(QString::fromStdString(session::default_home_folder().string())) {
    L_paths = new QListWidget(this);
    L_paths->setObjectName("L_paths");
    for (int k = 0; k < search_path_count; ++k) L_paths->addItem(QString());
    L_paths->item(home_row)->setToolTip("The home folder");
    E_path = new QLineEdit(this);
    E_path->setObjectName("E_path");
    auto* note = make_label("Entry 1 is the home folder: Save, Load\nand Help keep their files there.", "LHome", this);

    auto* add = make_button("Addpath", "B_Addpath", this);
    connect(add, &QPushButton::clicked, this, &PathsPage::B_AddpathClick);
    auto* remove = make_button("Delpath", "B_Delpath", this);
    connect(remove, &QPushButton::clicked, this, &PathsPage::B_DelpathClick);
    auto* home = make_button("Set home", "B_Sethome", this);
    connect(home, &QPushButton::clicked, this, &PathsPage::B_SethomeClick);

    // The list with Delpath beside its top, the field with Addpath beside
    // it, as designed; Set home between them.
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(remove);
    buttons->addStretch(1);
    buttons->addWidget(home);
    auto* list_row = new QHBoxLayout;
    list_row->addWidget(L_paths, 1);
    list_row->addLayout(buttons);
    auto* field_row = new QHBoxLayout;
    field_row->addWidget(E_path, 1);
    field_row->addWidget(add);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(make_label("Search paths for the LOAD command", "Label1", this));
    layout->addLayout(list_row, 1);
    layout->addLayout(field_row);
    layout->addWidget(note);
}

void PathsPage::show_settings(const Settings& settings) {
    for (int row = 0; row < search_path_count; ++row) {
        L_paths->item(row)->setText(settings.paths[static_cast<std::size_t>(row)]);
    }
    if (settings.paths[home_row].isEmpty()) L_paths->item(home_row)->setText(default_home_);
}

void PathsPage::take_settings(Settings& settings) const {
    for (int row = 0; row < search_path_count; ++row) {
        settings.paths[static_cast<std::size_t>(row)] = L_paths->item(row)->text();
    }
    // Kept as it was stored: the per-user folder as an empty entry.
    if (settings.paths[home_row] == default_home_) settings.paths[home_row].clear();
}

bool PathsPage::path_fits(const QString& path) {
    if (path.size() <= max_path_length) return true;
    warn(this, QStringLiteral("A search path must be shorter than %1 characters; this one has %2:\n%3")
                   .arg(max_path_length + 1)
                   .arg(path.size())
                   .arg(path));
    return false;
}

void PathsPage::B_AddpathClick() {
    const QString path = E_path->text();
    if (!path_fits(path)) return;
    for (int row = home_row + 1; row < L_paths->count(); ++row) {
        if (L_paths->item(row)->text().isEmpty()) {
            L_paths->item(row)->setText(path);
            E_path->clear();
            return;
        }
    }
}

void PathsPage::B_DelpathClick() {
    // The first entry, the home folder, cannot be deleted here.
    const int row = L_paths->currentRow();
    if (row <= home_row || L_paths->currentItem() == nullptr || !L_paths->currentItem()->isSelected()) return;
    const std::unique_ptr<QListWidgetItem> removed(L_paths->takeItem(row));
    L_paths->addItem(QString());
}

void PathsPage::B_SethomeClick() {
    const QString typed = E_path->text();
    if (!path_fits(typed)) return;
    const QString home = typed.isEmpty() ? default_home_ : typed;
    const QString current = L_paths->item(home_row)->text();
    QMessageBox question(QMessageBox::Question, window()->windowTitle(),
                         QStringLiteral("Make %1 the home folder?\n\nAfter Ok, Save and Load use data.bin and memo.bin "
                                        "there and Help reads ostrac.html there; each start reads data0.bin there, "
                                        "copying in the start-up files that are missing. The files in %2 stay "
                                        "where they are.")
                             .arg(home, current),
                         QMessageBox::Yes | QMessageBox::No, this);
    keep_above_windows(&question);
    if (question.exec() != QMessageBox::Yes) return;
    L_paths->item(home_row)->setText(home);
    E_path->clear();
}

}  // namespace ostrac::ui
