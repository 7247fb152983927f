#include "console/memo_file.h"

#include <QFile>

#include "common/line_file.h"

namespace ostrac::ui::memo_file {

namespace {
constexpr QByteArrayView line_end("\r\n");
}

std::optional<QStringList> read(const QString& path, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return std::nullopt;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return std::nullopt;
    }
    QStringList lines;
    qsizetype start = 0;
    while (start < data.size()) {
        qsizetype end = data.indexOf(line_end, start);
        if (end < 0) end = data.size();
        lines.append(QString::fromUtf8(data.mid(start, end - start)));
        start = end + line_end.size();
    }
    return lines;
}

bool write(const QString& path, const QStringList& lines, QString& error) {
    return line_file::write(path, lines, error);
}

}  // namespace ostrac::ui::memo_file
