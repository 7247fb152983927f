#include "common/clickable_label.h"

#include <QMouseEvent>

namespace ostrac::ui {

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit clicked();
        return;
    }
    QLabel::mousePressEvent(event);
}

}  // namespace ostrac::ui
