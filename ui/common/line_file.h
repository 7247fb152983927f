// Text files of lines ended by CR LF, as the program files and the saved
// console pane are written.
#pragma once

#include <QString>
#include <QStringList>

namespace ostrac::ui::line_file {

// Writes the lines in UTF-8, each followed by CR LF, and replaces the file
// safely (files/file_replacement.h); false with `error` set when that
// fails, the file then being as it was.
bool write(const QString& path, const QStringList& lines, QString& error);

}  // namespace ostrac::ui::line_file
