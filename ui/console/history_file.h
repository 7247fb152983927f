// The console's history kept between runs: the ten lines of the entry
// field's history in $XDG_STATE_HOME/ostrac/history (else
// ~/.local/state/ostrac/history), the oldest first, one a line.
//
// Reading takes the file as far as it is sound: it stops at the first line
// that is not UTF-8 text (a zero byte, a control character other than a
// tab, a broken sequence) or that runs on for more than a few kilobytes
// without a line break, and keeps the lines before it. A long line is cut to
// 254 bytes, as the console cuts what is typed.
#pragma once

#include <QString>
#include <QStringList>

namespace ostrac::ui {

class CommandHistory;

namespace history_file {

QString path();

// The lines to add to the history, oldest first (at most the ten newest).
QStringList read(const QString& path);

// Replaces the file safely with the history's lines, creating its folder;
// false with `error` set when that fails.
bool write(const QString& path, const CommandHistory& history, QString& error);

}  // namespace history_file

}  // namespace ostrac::ui
