#include "editor/caret_line.h"

#include <algorithm>

namespace ostrac::ui {

int caret_line(QStringView text, qsizetype caret) {
    const qsizetype end = std::clamp<qsizetype>(caret, 0, std::min(text.size(), caret_line_text_limit));
    return static_cast<int>(text.first(end).count(u'\n')) + 1;
}

}  // namespace ostrac::ui
