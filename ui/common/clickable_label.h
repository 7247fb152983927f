// A label that reports a left mouse press as clicked().
#pragma once

#include <QLabel>

namespace ostrac::ui {

class ClickableLabel : public QLabel {
    Q_OBJECT

public:
    explicit ClickableLabel(const QString& text, QWidget* parent = nullptr) : QLabel(text, parent) {}

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace ostrac::ui
