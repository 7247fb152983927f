// How the program's windows come to the user. The editor, graph and wizard
// windows stay on top of the others; a window manager keeps them above any
// window that does not stay on top itself, the parent a dialog is transient
// for included. So every dialog and message box stays on top as well, and
// takes the focus when it opens; and a window shown from a button comes
// back when it was minimised.
#pragma once

#include <QColor>
#include <QString>

class QWidget;

namespace ostrac::ui {

// Shows the window, restores it when minimised, raises it and activates it.
void bring_to_front(QWidget* window);

// Keeps a dialog above the windows that stay on top, and lets it raise
// and activate itself each time it is shown. File and colour dialogs are
// Qt's own, whose stacking the program controls.
void keep_above_windows(QWidget* dialog);

// A warning in a message box over `parent`, captioned with its title.
void warn(QWidget* parent, const QString& text);

// The colour dialog, preset with `initial`; an invalid colour when cancelled.
QColor ask_colour(QWidget* parent, const QColor& initial);

// The save dialog; an empty text when cancelled.
QString ask_file_to_save(QWidget* parent, const QString& caption, const QString& filter);

}  // namespace ostrac::ui
