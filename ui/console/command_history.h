// The console's history of the last ten non-empty command lines, slot 0 the
// most recent, with the browse cursor of the Up and Down keys.
//
// Up shows the slot under the cursor and then moves one slot older (stopping
// at the oldest slot); Down moves one slot newer (stopping at slot 0) and then
// shows it. So after two Up presses (slots 0 and 1) a Down shows slot 1 again.
#pragma once

#include <QString>
#include <array>

namespace ostrac::ui {

class CommandHistory {
public:
    static constexpr int size = 10;

    // An accepted line: a non-empty one goes to slot 0 (the oldest is
    // dropped); the cursor returns to slot 0 either way.
    void add(const QString& line);

    QString up();
    QString down();

    const QString& slot(int index) const { return slots_[static_cast<std::size_t>(index)]; }
    int cursor() const { return cursor_; }

private:
    std::array<QString, size> slots_;
    int cursor_ = 0;
};

}  // namespace ostrac::ui
