// The program editor (Medit), its list view for debugging (ListBox1), the
// file buttons, the run and debug buttons and the caret's line label.
// Always on top of the other windows and sizeable; closing it only hides it.
// In the list, an arrow marks the line where the program stopped; once a
// debugged program has ended, a square marks the last line it reached and
// a label says it ended.
//
// Threading: the buttons act on the session through the SessionLink, each
// inside one SessionAccess, and resume the worker only after the debugger's
// mode and target are set. A run hands the engine a copy of the program's
// lines, so the worker never reads a widget. The engine's editor_show_line
// and editor_reset reach this window as the console's queued events, on this
// window's thread, through the slots below; those never take a
// SessionAccess (they may arrive while the console holds one).
#pragma once

#include <QIcon>
#include <QString>
#include <QWidget>

#include "editor/debugger.h"

class QHBoxLayout;
class QLabel;
class QListWidget;

namespace ostrac::ui {

class CodeEdit;
class SessionLink;

class TFEditor : public QWidget {
    Q_OBJECT

public:
    TFEditor(SessionLink& link, QWidget* parent = nullptr);

    // The file last opened or saved; empty at first.
    const QString& file_name() const { return file_name_; }

    // The file work of open and save, after their dialogs. Failures are
    // reported in a message box and change nothing.
    bool open_file(const QString& path);
    bool save_file(const QString& path);

    // Shows the caret's line number in Labely and returns it.
    int caret_line();

    // The program as the editor holds it, one entry per line.
    QStringList program_lines() const;

    bool debug_view() const { return debug_view_; }
    // The list row of the line the program last reached (-1: none).
    int current_row() const { return current_row_; }
    // Takes a SessionAccess: not for use inside one.
    debugger::State state();

public slots:
    // Selects the line's item in the list and marks it as the current line.
    void editor_show_line(int line);
    // Back to the text: the debugger has been reset.
    void editor_reset();
    // The worker has parked: a debugged program may have ended. Takes a
    // SessionAccess.
    void worker_parked();

protected:
    void changeEvent(QEvent* event) override;

private:
    // The program's font follows the window's (the desktop's) font.
    void follow_font();

    void BOpenClick();
    void BSaveClick();
    void BEditClick();
    void BrunClick();
    void BRunToClick();
    void BStepClick();
    void BStepIntoClick();

    // Runs a debugger operation on the session, then shows the list and
    // resumes the worker as it asks.
    template <class Operation>
    void act(Operation operation);
    void enter_debug_view();
    void mark_row(int row);
    void report(const QString& text);

    SessionLink& link_;
    const QIcon blank_gutter_;  // left of every list line
    const QIcon arrow_gutter_;  // left of the current line
    const QIcon end_gutter_;    // left of the line where the program ended
    QString file_name_;
    bool debug_view_ = false;
    int current_row_ = -1;

    CodeEdit* Medit = nullptr;
    QListWidget* ListBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Labely = nullptr;
    QLabel* LEnded = nullptr;
    QHBoxLayout* line_row_ = nullptr;  // Label1 and Labely
};

}  // namespace ostrac::ui
