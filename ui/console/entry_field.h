// The console's entry field (Edit1): a one-line edit with the command
// history on the Up and Down keys. Enter is taken from the edit and reported
// as entered(); the console decides whether the line is accepted.
//
// It also helps with function names: Tab completes the name before the caret
// from the built-ins and the start-up library (several candidates open a
// popup list), the syntax of the function being typed shows as the field's
// tooltip, and F1 asks for the help of the function under the caret.
#pragma once

#include <QLineEdit>

#include "console/command_history.h"

class QCompleter;

namespace ostrac::ui {

class EntryField : public QLineEdit {
    Q_OBJECT

public:
    explicit EntryField(QWidget* parent = nullptr);

    // The line was accepted: the field empties and the line enters the
    // history.
    void accept_line(const QString& line);

    const CommandHistory& history() const { return history_; }
    QCompleter* completer() const { return completer_; }

signals:
    void entered();
    // F1: the function under the caret (empty when there is none).
    void helpRequested(const QString& function);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Shows a history slot; the caret stays where it was.
    void show_slot(const QString& text);
    // The function being typed at the caret, as the engine's names see it.
    QString function_at_caret() const;
    // Tab: the word before the caret becomes the one name it starts, or the
    // popup offers every name it starts.
    void complete();
    void insert_completion(const QString& name);
    void show_syntax();

    CommandHistory history_;
    QCompleter* completer_ = nullptr;
};

}  // namespace ostrac::ui
