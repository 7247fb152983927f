#include "editor/program_highlighter.h"

namespace ostrac::ui {

namespace {

using Kind = SyntaxSpan::Kind;

struct KindStyle {
    Kind kind;
    QRgb on_light;  // on a light background
    QRgb on_dark;   // the same hue made light, for a dark background
    bool italic;
};

constexpr std::array<KindStyle, 5> styles{{
    {Kind::Keyword, 0x000080, 0x8CAAFF, false},  // navy
    {Kind::Builtin, 0x008080, 0x5CD6D6, false},  // teal
    {Kind::Number, 0x800080, 0xE09CE0, false},   // purple
    {Kind::String, 0xA00000, 0xFF8C8C, false},   // dark red
    {Kind::Comment, 0x008000, 0x7CD67C, true},   // green
}};

}  // namespace

ProgramHighlighter::ProgramHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {
    set_dark_background(false);
}

void ProgramHighlighter::set_dark_background(bool dark) {
    for (const KindStyle& style : styles) {
        QTextCharFormat& format = formats_[static_cast<std::size_t>(style.kind)];
        format.setForeground(QColor(dark ? style.on_dark : style.on_light));
        format.setFontItalic(style.italic);
    }
    rehighlight();
}

void ProgramHighlighter::highlightBlock(const QString& text) {
    for (const SyntaxSpan& span : syntax_spans(text)) {
        setFormat(static_cast<int>(span.start), static_cast<int>(span.length), format_of(span.kind));
    }
}

}  // namespace ostrac::ui
