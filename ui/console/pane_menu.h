// The output pane's context menu: the pane's own entries (Copy of the
// selected text, Select All) and "Copy value of ANS", which puts on the
// clipboard a literal of the last result that the calculator reads back
// (session/value_literal.h). The entry is greyed out when ANS has no such
// literal.
#pragma once

#include <QObject>
#include <QPoint>

namespace ostrac::ui {

class OutputPane;
class SessionLink;

class PaneMenu : public QObject {
    Q_OBJECT

public:
    static constexpr const char* copy_ans_text = "Copy value of ANS";

    PaneMenu(OutputPane& pane, SessionLink& link);

private:
    void show_menu(const QPoint& position);

    OutputPane& pane_;
    SessionLink& link_;
};

}  // namespace ostrac::ui
