#include "common/window_stacking.h"

#include <QColorDialog>
#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

namespace ostrac::ui {

namespace {

// Raises and activates its dialog once the dialog's window is shown (a
// request made before that would be lost).
class FrontOnShow : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            auto* dialog = static_cast<QWidget*>(watched);
            QTimer::singleShot(0, dialog, [dialog] {
                dialog->raise();
                dialog->activateWindow();
            });
        }
        return false;
    }
};

}  // namespace

void bring_to_front(QWidget* window) {
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

void keep_above_windows(QWidget* dialog) {
    if (auto* files = qobject_cast<QFileDialog*>(dialog)) files->setOption(QFileDialog::DontUseNativeDialog);
    if (auto* colours = qobject_cast<QColorDialog*>(dialog)) colours->setOption(QColorDialog::DontUseNativeDialog);
    dialog->setWindowFlag(Qt::WindowStaysOnTopHint);
    dialog->installEventFilter(new FrontOnShow(dialog));
}

void warn(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, parent->windowTitle(), text, QMessageBox::Ok, parent);
    keep_above_windows(&box);
    box.exec();
}

QColor ask_colour(QWidget* parent, const QColor& initial) {
    QColorDialog dialog(initial, parent);
    keep_above_windows(&dialog);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedColor() : QColor();
}

QString ask_file_to_save(QWidget* parent, const QString& caption, const QString& filter) {
    QFileDialog dialog(parent, caption, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    keep_above_windows(&dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

}  // namespace ostrac::ui
