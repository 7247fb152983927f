// ostrac: the calculator's desktop program.
#include <QApplication>
#include <QIcon>

#include "console/tform1.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName("ostrac");
    QApplication::setApplicationName("ostrac");
    QApplication::setApplicationVersion(OSTRAC_VERSION);
    // Ties the windows to the desktop entry (and its icon) on Wayland.
    QGuiApplication::setDesktopFileName(OSTRAC_APP_ID);
    QApplication::setWindowIcon(QIcon::fromTheme(OSTRAC_APP_ID, QIcon(":/icons/ostrac.svg")));

    ostrac::ui::TForm1 console;
    console.show();
    console.start();
    return QApplication::exec();
}
