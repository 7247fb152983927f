#include "common/line_file.h"

#include <QByteArrayView>
#include <QSaveFile>

namespace ostrac::ui::line_file {

bool write(const QString& path, const QStringList& lines, QString& error) {
    constexpr QByteArrayView line_end("\r\n");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    for (const QString& line : lines) {
        file.write(line.toUtf8());
        file.write(line_end.data(), line_end.size());
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

}  // namespace ostrac::ui::line_file
