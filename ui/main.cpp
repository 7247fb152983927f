// ostrac: the calculator's desktop program.
#include <QApplication>

#include "console/tform1.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName("ostrac");
    QApplication::setApplicationName("ostrac");
    QApplication::setApplicationVersion(OSTRAC_VERSION);

    ostrac::ui::TForm1 console;
    console.show();
    console.start();
    return QApplication::exec();
}
