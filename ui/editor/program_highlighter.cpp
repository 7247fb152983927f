#include "editor/program_highlighter.h"

namespace ostrac::ui {

namespace {

using Kind = SyntaxSpan::Kind;

struct KindStyle {
    Kind kind;
    QRgb colour;
    bool italic;
};

constexpr std::array<KindStyle, 5> styles{{
    {Kind::Keyword, 0x000080, false},  // navy
    {Kind::Builtin, 0x008080, false},  // teal
    {Kind::Number, 0x800080, false},   // purple
    {Kind::String, 0xA00000, false},   // dark red
    {Kind::Comment, 0x008000, true},   // green
}};

}  // namespace

ProgramHighlighter::ProgramHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {
    for (const KindStyle& style : styles) {
        QTextCharFormat& format = formats_[static_cast<std::size_t>(style.kind)];
        format.setForeground(QColor(style.colour));
        format.setFontItalic(style.italic);
    }
}

void ProgramHighlighter::highlightBlock(const QString& text) {
    for (const SyntaxSpan& span : syntax_spans(text)) {
        setFormat(static_cast<int>(span.start), static_cast<int>(span.length), format_of(span.kind));
    }
}

}  // namespace ostrac::ui
