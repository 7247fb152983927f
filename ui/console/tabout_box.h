// The about box: the program's name, version, licence and where to report
// problems. Shown modally by the console's "?" button.
#pragma once

#include <QDialog>

namespace ostrac::ui {

class TAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);
};

}  // namespace ostrac::ui
