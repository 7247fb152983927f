#include "common/compact_button.h"

#include <QStyleOptionToolButton>

namespace ostrac::ui {

CompactButton::CompactButton(const QString& text, const char* name, QWidget* parent) : QToolButton(parent) {
    setText(text);
    setObjectName(name);
    setFocusPolicy(Qt::NoFocus);
    // Buttons of a column or row share its width.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

// The style's size around the text alone (a plain tool button adds the
// width of two blanks as well).
QSize CompactButton::sizeHint() const {
    QStyleOptionToolButton option;
    initStyleOption(&option);
    const QSize text_size = fontMetrics().size(Qt::TextShowMnemonic, text());
    return style()->sizeFromContents(QStyle::CT_ToolButton, &option, text_size, this);
}

}  // namespace ostrac::ui
