#include "common/widget_making.h"

#include <QFontDatabase>

namespace ostrac::ui {

QFont fixed_pitch_font(const QFont& like) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (like.pixelSize() > 0) {
        font.setPixelSize(like.pixelSize());
    } else {
        font.setPointSizeF(like.pointSizeF());
    }
    return font;
}

QFont bold_font(QFont font) {
    font.setBold(true);
    return font;
}

QLabel* make_label(const QString& text, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QPushButton* make_push_button(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

}  // namespace ostrac::ui
