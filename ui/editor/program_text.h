// The editor's text as a list of program lines, and back. A text that ends
// with a line end has no empty line after it, so a file's lines survive
// being shown and saved again unchanged.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace ostrac::ui::program_text {

QStringList lines(const QString& text);
QString text(const QStringList& lines);

// The lines as the engine's editor feed reads them (UTF-8).
std::vector<std::string> feed_lines(const QStringList& lines);

}  // namespace ostrac::ui::program_text
