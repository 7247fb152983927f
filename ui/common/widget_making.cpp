#include "common/widget_making.h"

namespace ostrac::ui {

QFont pixel_font(const QString& family, QFont::StyleHint hint, int pixels, bool bold) {
    QFont font(family);
    font.setStyleHint(hint);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QLabel* make_label(const QString& text, const char* name, QPoint position, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->move(position);
    label->adjustSize();
    return label;
}

}  // namespace ostrac::ui
