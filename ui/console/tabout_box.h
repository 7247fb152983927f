// The about box: the program's name, version, licence and where to report
// problems. Shown modally by the console's "?" button.
#pragma once

#include <QDialog>

namespace ostrac::ui {

class TAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);

protected:
    void changeEvent(QEvent* event) override;

private:
    // The text is wrapped at this many average characters.
    static constexpr int text_width = 42;
    void follow_font();
};

}  // namespace ostrac::ui
