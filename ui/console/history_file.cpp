#include "console/history_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>

#include "common/line_file.h"
#include "console/command_history.h"

namespace ostrac::ui::history_file {

namespace {

// What the console keeps of a typed line, in bytes.
constexpr qsizetype line_max = 254;
// A line longer than this is not a history line: reading stops there.
constexpr qsizetype sound_line_max = 4096;

bool is_text(const QString& line) {
    return std::none_of(line.begin(), line.end(),
                        [](QChar c) { return c.category() == QChar::Other_Control && c != '\t'; });
}

// The longest start of `line` that fits the console's 254 bytes without
// cutting a character in two.
QString cut(QString line) {
    while (line.toUtf8().size() > line_max) line.chop(1);
    return line;
}

}  // namespace

QString path() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty()) state = QDir::home().filePath(".local/state");
    return QDir(state).filePath("ostrac/history");
}

QStringList read(const QString& path) {
    QStringList lines;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return lines;
    while (!file.atEnd()) {
        QByteArray bytes = file.readLine(sound_line_max + 1);
        const bool ended = bytes.endsWith('\n');
        if (!ended && !file.atEnd()) break;  // runs on without a line break
        if (ended) bytes.chop(1);
        if (bytes.endsWith('\r')) bytes.chop(1);
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString line = utf8(bytes);
        if (utf8.hasError() || !is_text(line)) break;
        lines.append(cut(line));
    }
    return lines.mid(std::max<qsizetype>(0, lines.size() - CommandHistory::size));
}

bool write(const QString& path, const CommandHistory& history, QString& error) {
    if (!QDir().mkpath(QFileInfo(path).path())) {
        error = QStringLiteral("cannot create %1").arg(QFileInfo(path).path());
        return false;
    }
    QStringList lines;
    for (int slot = CommandHistory::size - 1; slot >= 0; --slot) {
        if (!history.slot(slot).isEmpty()) lines.append(history.slot(slot));
    }
    return line_file::write(path, lines, error);
}

}  // namespace ostrac::ui::history_file
