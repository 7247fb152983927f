#include "console/tabout_box.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

#include "common/window_stacking.h"

namespace ostrac::ui {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("TAboutBox");
    setWindowTitle("About Ostrac");
    auto* text = new QLabel(this);
    text->setObjectName("AboutText");
    text->setTextFormat(Qt::RichText);
    text->setText(QStringLiteral("<h3>Ostrac %1</h3>"
                                 "<p>A programmable scientific calculator.</p>"
                                 "<p>Free software under the MIT licence.</p>"
                                 "<p>Please report problems in the project's issue tracker, with the console "
                                 "lines that show them and the commands that led there.</p>")
                      .arg(QStringLiteral(OSTRAC_VERSION)));
    text->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->setObjectName("AboutButtons");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* icon = new QLabel(this);
    icon->setObjectName("AboutIcon");
    icon->setPixmap(QIcon(":/icons/ostrac.svg").pixmap(48, 48));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(icon);
    layout->addWidget(text);
    layout->addWidget(buttons);
    // As large as the text needs, wrapped at a width that grows with the font.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    follow_font();
    keep_above_windows(this);
}

void TAboutBox::follow_font() {
    findChild<QLabel*>("AboutText")->setFixedWidth(fontMetrics().averageCharWidth() * text_width);
}

void TAboutBox::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::FontChange) follow_font();
}

}  // namespace ostrac::ui
