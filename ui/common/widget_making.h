// Small helpers the windows share to build their controls at the places and
// in the fonts they were designed with.
#pragma once

#include <QFont>
#include <QLabel>
#include <QPoint>
#include <QString>

namespace ostrac::ui {

// A font of a fixed pixel size, so designed layouts keep their proportions.
QFont pixel_font(const QString& family, QFont::StyleHint hint, int pixels, bool bold = false);

// A label named `name` at `position`, sized to its text.
QLabel* make_label(const QString& text, const char* name, QPoint position, QWidget* parent);

}  // namespace ostrac::ui
