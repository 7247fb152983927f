// The help window: shows the calculator's HTML help file from the home
// folder (installed there with the other home files on first start).
#pragma once

#include <QWidget>

class QTextBrowser;

namespace ostrac::ui {

class HelpWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr const char* file_name = "ostrac.html";

    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the file and brings the window up; false when it cannot be read.
    bool show_file(const QString& path);

    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_;
};

}  // namespace ostrac::ui
