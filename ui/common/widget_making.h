// Small helpers the windows share to build their controls. The windows
// take the desktop's font and size; the fonts below are derived from it.
#pragma once

#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QString>

namespace ostrac::ui {

// The system's fixed-pitch font at the size of `like`.
QFont fixed_pitch_font(const QFont& like);

// `font` in bold.
QFont bold_font(QFont font);

// A label named `name`.
QLabel* make_label(const QString& text, const char* name, QWidget* parent);

// A push button named `name`.
QPushButton* make_push_button(const QString& text, const char* name, QWidget* parent);

}  // namespace ostrac::ui
