#include "common/clickable_panel.h"

#include <QMouseEvent>

namespace ostrac::ui {

ClickablePanel::ClickablePanel(QWidget* parent) : QFrame(parent) { setAutoFillBackground(true); }

void ClickablePanel::set_colour(const QColor& colour) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colour);
    setPalette(palette);
}

QColor ClickablePanel::colour() const { return palette().color(QPalette::Window); }

void ClickablePanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit clicked();
        return;
    }
    QFrame::mousePressEvent(event);
}

}  // namespace ostrac::ui
