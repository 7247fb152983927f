#include "common/line_file.h"

#include <QByteArray>
#include <QFile>

#include <string>
#include <string_view>

#include "files/file_replacement.h"

namespace ostrac::ui::line_file {

bool write(const QString& path, const QStringList& lines, QString& error) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    const std::string_view contents(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    const std::string failure = files::replace_file(QFile::encodeName(path).toStdString(), contents);
    error = QString::fromStdString(failure);
    return failure.empty();
}

}  // namespace ostrac::ui::line_file
