// The output pane's context menu: the pane's own entries (Copy of the
// selected text, Select All) and "Copy value of ANS", which puts on the
// clipboard a literal of the last result that the calculator reads back
// (session/value_literal.h). The entry is greyed out when ANS has no such
// literal, and while a program runs: a long built-in would hold the menu
// until its step ends.
#pragma once

#include <QObject>
#include <QPoint>
#include <atomic>

#include "session/session.h"

namespace ostrac::ui {

class OutputPane;
class SessionLink;

class PaneMenu : public QObject {
    Q_OBJECT

public:
    static constexpr const char* copy_ans_text = "Copy value of ANS";

    PaneMenu(OutputPane& pane, SessionLink& link, const std::atomic<session::RunState>& run_state);

private:
    void show_menu(const QPoint& position);

    OutputPane& pane_;
    SessionLink& link_;
    const std::atomic<session::RunState>& run_state_;
};

}  // namespace ostrac::ui
