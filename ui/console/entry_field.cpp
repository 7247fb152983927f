#include "console/entry_field.h"

#include <QKeyEvent>

namespace ostrac::ui {

EntryField::EntryField(QWidget* parent) : QLineEdit(parent) {}

void EntryField::accept_line(const QString& line) {
    clear();
    history_.add(line);
}

void EntryField::show_slot(const QString& text) {
    const int caret = cursorPosition();
    setText(text);
    setCursorPosition(caret);
}

void EntryField::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit entered();
        return;
    case Qt::Key_Up:
        show_slot(history_.up());
        return;
    case Qt::Key_Down:
        show_slot(history_.down());
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}

}  // namespace ostrac::ui
