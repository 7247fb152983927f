// memo.bin: the lines of the output pane as text, each line ended by a
// carriage return and a line feed, in UTF-8. A line feed alone belongs to
// its line.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace ostrac::ui::memo_file {

inline constexpr const char* name = "memo.bin";

// The lines of the file, or nothing when it cannot be read (`error` says why).
std::optional<QStringList> read(const QString& path, QString& error);

// Writes the lines; false when the file cannot be written (`error` says why).
bool write(const QString& path, const QStringList& lines, QString& error);

}  // namespace ostrac::ui::memo_file
