// Colours keywords, built-in names, numbers, strings and comments of the
// program text, line by line (syntax_spans).
#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <array>

#include "editor/syntax_spans.h"

namespace ostrac::ui {

class ProgramHighlighter : public QSyntaxHighlighter {
    Q_OBJECT

public:
    explicit ProgramHighlighter(QTextDocument* document);

    // Chooses the colours that read well on a dark or a light background.
    void set_dark_background(bool dark);

    // The format given to each kind of span.
    const QTextCharFormat& format_of(SyntaxSpan::Kind kind) const {
        return formats_[static_cast<std::size_t>(kind)];
    }

protected:
    void highlightBlock(const QString& text) override;

private:
    std::array<QTextCharFormat, 5> formats_;
};

}  // namespace ostrac::ui
