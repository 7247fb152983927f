#include "console/help_window.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>
#include <string_view>

#include "common/window_stacking.h"
#include "session/home_folder.h"

namespace ostrac::ui {

static_assert(std::ranges::find(session::home_files, std::string_view(HelpWindow::file_name)) !=
                  std::end(session::home_files),
              "the help file is one of the files installed into a new home folder");

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
    setObjectName("HelpWindow");
    setWindowTitle("Ostrac Help");
    resize(640, 560);
    browser_->setObjectName("HelpBrowser");
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
}

bool HelpWindow::show_file(const QString& path) {
    if (!QFileInfo(path).isReadable()) return false;
    browser_->setSource(QUrl::fromLocalFile(path));
    bring_to_front(this);
    return true;
}

}  // namespace ostrac::ui
