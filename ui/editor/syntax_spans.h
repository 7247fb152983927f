// The coloured pieces of one program line, found by the scanner's own rules
// (longest match, keywords and built-in names without regard to letter
// case, strings on one line, "//" comments), without any widget.
#pragma once

#include <QString>
#include <QStringView>
#include <vector>

namespace ostrac::ui {

struct SyntaxSpan {
    enum class Kind { Keyword, Builtin, Number, String, Comment };
    qsizetype start;
    qsizetype length;
    Kind kind;
    bool operator==(const SyntaxSpan&) const = default;
};

std::vector<SyntaxSpan> syntax_spans(QStringView line);

}  // namespace ostrac::ui
