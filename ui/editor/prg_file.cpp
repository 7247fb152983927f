#include "editor/prg_file.h"

#include <QFile>
#include <QStringDecoder>

#include "common/line_file.h"

namespace ostrac::ui::prg_file {

namespace {

bool is_text_byte(unsigned char byte) {
    return byte >= 0x20 || byte == '\t' || byte == '\n' || byte == '\v' || byte == '\f' || byte == '\r';
}

QString too_large() {
    return QStringLiteral("The file is larger than %1 bytes, the largest program the editor takes.")
        .arg(max_file_size);
}

QString decode(const QByteArray& data) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(data);
    if (!utf8.hasError()) return text;
    return QString::fromLatin1(data);
}

}  // namespace

std::optional<QStringList> parse(const QByteArray& data, QString& error) {
    for (qsizetype i = 0; i < data.size(); ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        if (!is_text_byte(byte)) {
            error = QStringLiteral("This is not a program text: it holds the byte 0x%1 at offset %2.")
                        .arg(byte, 2, 16, QChar(u'0'))
                        .arg(i);
            return std::nullopt;
        }
    }
    QStringList lines = decode(data).split(u'\n');
    if (lines.back().isEmpty()) lines.removeLast();  // the last line's end
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString& line = lines[i];
        if (line.endsWith(u'\r')) line.chop(1);
        if (line.size() > max_line_length) {
            error = QStringLiteral("Line %1 is longer than %2 characters, the longest line the editor takes.")
                        .arg(i + 1)
                        .arg(max_line_length);
            return std::nullopt;
        }
    }
    return lines;
}

std::optional<QStringList> read(const QString& path, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return std::nullopt;
    }
    if (file.size() > max_file_size) {
        error = too_large();
        return std::nullopt;
    }
    const QByteArray data = file.read(max_file_size + 1);
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return std::nullopt;
    }
    if (data.size() > max_file_size) {
        error = too_large();
        return std::nullopt;
    }
    return parse(data, error);
}

bool write(const QString& path, const QStringList& lines, QString& error) {
    return line_file::write(path, lines, error);
}

}  // namespace ostrac::ui::prg_file
