#include "console/pane_menu.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <memory>
#include <optional>
#include <string>

#include "console/output_pane.h"
#include "session/value_literal.h"
#include "worker/session_link.h"

namespace ostrac::ui {

PaneMenu::PaneMenu(OutputPane& pane, SessionLink& link, const std::atomic<session::RunState>& run_state)
    : QObject(&pane), pane_(pane), link_(link), run_state_(run_state) {
    pane_.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&pane_, &QWidget::customContextMenuRequested, this, &PaneMenu::show_menu);
}

void PaneMenu::show_menu(const QPoint& position) {
    // The value when the menu opens is the one copied.
    std::optional<std::string> literal;
    if (run_state_.load() != session::RunState::Running) {
        auto access = link_.session_access();
        literal = session::ans_literal(access.session());
    }
    const std::unique_ptr<QMenu> menu(pane_.createStandardContextMenu(position));
    menu->addSeparator();
    QAction* copy_ans = menu->addAction(copy_ans_text);
    copy_ans->setEnabled(literal.has_value());
    connect(copy_ans, &QAction::triggered, this, [text = QString::fromStdString(literal.value_or(""))] {
        QGuiApplication::clipboard()->setText(text);
    });
    menu->exec(pane_.viewport()->mapToGlobal(position));
}

}  // namespace ostrac::ui
