#include "editor/program_text.h"

namespace ostrac::ui::program_text {

QStringList lines(const QString& text) {
    if (text.isEmpty()) return {};
    QStringList result = text.split(u'\n');
    if (result.back().isEmpty()) result.removeLast();
    return result;
}

QString text(const QStringList& lines) {
    // An empty last line shows as a line end after the line before it.
    QString joined = lines.join(u'\n');
    if (!lines.isEmpty() && lines.back().isEmpty()) joined += u'\n';
    return joined;
}

std::vector<std::string> feed_lines(const QStringList& lines) {
    std::vector<std::string> result;
    result.reserve(static_cast<std::size_t>(lines.size()));
    for (const QString& line : lines) result.push_back(line.toStdString());
    return result;
}

}  // namespace ostrac::ui::program_text
