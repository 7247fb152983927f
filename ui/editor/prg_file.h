// Program files of the editor: plain text, each line ended by a carriage
// return and a line feed when written. Reading accepts line feeds alone as
// well, UTF-8 text, and any other 8-bit text as Latin-1.
//
// A file is taken whole or not at all: one that holds bytes no program
// text holds (a NUL or another control character than tab, line feed,
// vertical tab, form feed and carriage return), a line longer than the
// editor's line limit, or more than max_file_size bytes is refused with the
// reason.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace ostrac::ui::prg_file {

inline constexpr const char* extension = "prg";
inline constexpr qsizetype max_line_length = 2048;
inline constexpr qint64 max_file_size = 1 << 20;

// The lines of the file, or nothing (`error` says why).
std::optional<QStringList> read(const QString& path, QString& error);

// Checks already-read file contents the way read() does.
std::optional<QStringList> parse(const QByteArray& data, QString& error);

// Writes the lines (whole or not at all); false when the file cannot be
// written (`error` says why).
bool write(const QString& path, const QStringList& lines, QString& error);

}  // namespace ostrac::ui::prg_file
