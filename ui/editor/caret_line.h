// The caret's line number as the editor's line label shows it.
#pragma once

#include <QStringView>

namespace ostrac::ui {

// Only this much of the text is looked at; a caret further on counts as
// standing at its end.
inline constexpr qsizetype caret_line_text_limit = 32000;

// 1 + the number of line feeds before the caret, within the first
// caret_line_text_limit characters of the text.
int caret_line(QStringView text, qsizetype caret);

}  // namespace ostrac::ui
