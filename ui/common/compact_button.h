// A tool button as wide as its text and a small margin each side, for the
// tightly packed button columns of the console and the editor (a push
// button is at least 80 pixels wide in most styles). Raised like a push
// button unless set to auto-raise.
#pragma once

#include <QToolButton>

namespace ostrac::ui {

class CompactButton : public QToolButton {
    Q_OBJECT

public:
    CompactButton(const QString& text, const char* name, QWidget* parent = nullptr);

    QSize sizeHint() const override;
};

}  // namespace ostrac::ui
