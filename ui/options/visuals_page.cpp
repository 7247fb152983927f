#include "options/visuals_page.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>

#include "common/clickable_label.h"
#include "common/clickable_panel.h"
#include "common/widget_making.h"
#include "common/window_stacking.h"

namespace ostrac::ui {

namespace {

QColor text_colour(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

void set_text_colour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

}  // namespace

VisualsPage::VisualsPage(QWidget* parent) : OptionsPage(parent) {
    auto* buttons = new ClickablePanel(this);
    buttons->setObjectName("PButtons");
    buttons->setBackgroundRole(QPalette::Button);
    buttons->setFixedWidth(fontMetrics().averageCharWidth() * 4);
    PMemo = make_panel("PMemo", "LMemo", LMemo);
    PEdit = make_panel("PEdit", "LEdit", LEdit);

    // The strip left of both panels, the pane's panel over the entry's, as
    // the console has them.
    auto* console = new QGridLayout;
    console->setSpacing(0);
    console->addWidget(buttons, 0, 0, 2, 1);
    console->addWidget(PMemo, 0, 1);
    console->addWidget(PEdit, 1, 1);
    console->setColumnStretch(1, 1);
    console->setRowStretch(0, 4);
    console->setRowStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(make_label("Click onto an Area or Text to change  the color", "Label2", this));
    layout->addLayout(console, 1);

    // Each colour dialog starts from the stored colour, not from the panel's
    // current one; the choice shows on the panel until "Ok" stores it.
    connect(PMemo, &ClickablePanel::clicked, this, [this] {
        const QColor chosen = ask_colour(this, to_qcolor(stored_.memo_background));
        if (chosen.isValid()) PMemo->set_colour(chosen);
    });
    connect(LMemo, &ClickableLabel::clicked, this, [this] {
        const QColor chosen = ask_colour(this, to_qcolor(stored_.memo_text));
        if (chosen.isValid()) set_text_colour(LMemo, chosen);
    });
    connect(PEdit, &ClickablePanel::clicked, this, [this] {
        const QColor chosen = ask_colour(this, to_qcolor(stored_.edit_background));
        if (chosen.isValid()) PEdit->set_colour(chosen);
    });
    connect(LEdit, &ClickableLabel::clicked, this, [this] {
        const QColor chosen = ask_colour(this, to_qcolor(stored_.edit_text));
        if (chosen.isValid()) set_text_colour(LEdit, chosen);
    });
}

ClickablePanel* VisualsPage::make_panel(const char* name, const char* label_name, ClickableLabel*& label) {
    auto* panel = new ClickablePanel(this);
    panel->setObjectName(name);
    panel->setCursor(Qt::CrossCursor);
    label = new ClickableLabel("Click Here to Change Text Color", panel);
    label->setObjectName(label_name);
    label->setCursor(Qt::PointingHandCursor);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(label, 0, Qt::AlignCenter);
    return panel;
}

void VisualsPage::show_settings(const Settings& settings) {
    stored_ = settings.colours;
    PMemo->set_colour(to_qcolor(stored_.memo_background));
    set_text_colour(LMemo, to_qcolor(stored_.memo_text));
    PEdit->set_colour(to_qcolor(stored_.edit_background));
    set_text_colour(LEdit, to_qcolor(stored_.edit_text));
}

void VisualsPage::take_settings(Settings& settings) const {
    settings.colours = {to_stored_colour(PMemo->colour()), to_stored_colour(text_colour(LMemo)),
                        to_stored_colour(PEdit->colour()), to_stored_colour(text_colour(LEdit))};
}

}  // namespace ostrac::ui
