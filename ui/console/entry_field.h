// The console's entry field (Edit1): a one-line edit with the command
// history on the Up and Down keys. Enter is taken from the edit and reported
// as entered(); the console decides whether the line is accepted.
#pragma once

#include <QLineEdit>

#include "console/command_history.h"

namespace ostrac::ui {

class EntryField : public QLineEdit {
    Q_OBJECT

public:
    explicit EntryField(QWidget* parent = nullptr);

    // The line was accepted: the field empties and the line enters the
    // history.
    void accept_line(const QString& line);

    const CommandHistory& history() const { return history_; }

signals:
    void entered();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Shows a history slot; the caret stays where it was.
    void show_slot(const QString& text);

    CommandHistory history_;
};

}  // namespace ostrac::ui
