// A plain panel filled with one colour that reports a left mouse press as
// clicked().
#pragma once

#include <QFrame>

namespace ostrac::ui {

class ClickablePanel : public QFrame {
    Q_OBJECT

public:
    explicit ClickablePanel(QWidget* parent = nullptr);

    void set_colour(const QColor& colour);
    QColor colour() const;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace ostrac::ui
