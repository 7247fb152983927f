// ostrac-mkicons: renders the application icon into the PNG sizes of the
// desktop's icon theme.
//
//   ostrac-mkicons ICON.svg OUTPUT_DIR NAME SIZE...
//
// writes OUTPUT_DIR/SIZExSIZE/NAME.png for each SIZE.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 5) {
        std::fputs("usage: ostrac-mkicons ICON.svg OUTPUT_DIR NAME SIZE...\n", stderr);
        return 2;
    }
    QSvgRenderer renderer(args[1]);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "ostrac-mkicons: cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    for (qsizetype i = 4; i < args.size(); ++i) {
        bool ok = false;
        const int size = args[i].toInt(&ok);
        if (!ok || size <= 0) {
            std::fprintf(stderr, "ostrac-mkicons: bad size %s\n", qPrintable(args[i]));
            return 1;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        const QString folder = QStringLiteral("%1/%2x%2").arg(args[2]).arg(size);
        const QString path = QStringLiteral("%1/%2.png").arg(folder, args[3]);
        if (!QDir().mkpath(folder) || !image.save(path)) {
            std::fprintf(stderr, "ostrac-mkicons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
