#include "console/command_history.h"

#include <algorithm>

namespace ostrac::ui {

void CommandHistory::add(const QString& line) {
    cursor_ = 0;
    if (line.isEmpty()) return;
    std::shift_right(slots_.begin(), slots_.end(), 1);
    slots_[0] = line;
}

QString CommandHistory::up() {
    QString shown = slot(cursor_);
    if (cursor_ < size - 1) ++cursor_;
    return shown;
}

QString CommandHistory::down() {
    if (cursor_ > 0) --cursor_;
    return slot(cursor_);
}

}  // namespace ostrac::ui
