#include "console/output_pane.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTextCursor>

namespace ostrac::ui {

namespace {

// A pane line may hold line breaks (only a break at the end of the printed
// text ends a line). QTextDocument would split such a line into several
// blocks, so inside the pane a line feed or carriage return is shown as a
// line separator, which breaks the line on screen but keeps it one block.
QString to_block_text(QString line) {
    line.replace(QChar::LineFeed, QChar::LineSeparator);
    line.replace(QChar::CarriageReturn, QChar::LineSeparator);
    return line;
}

QString join_blocks(const QStringList& lines) {
    QStringList blocks;
    blocks.reserve(lines.size());
    for (const QString& line : lines) blocks.append(to_block_text(line));
    return blocks.join(QChar::LineFeed);
}

}  // namespace

OutputPane::OutputPane(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setCursor(Qt::ArrowCursor);
}

int OutputPane::lines_after(int current, int added) {
    int count = current;
    for (int i = 0; i < added; ++i) {
        if (++count > max_lines) count -= trim_lines;
    }
    return count;
}

void OutputPane::add_lines(std::span<const std::string> lines) {
    if (lines.empty()) return;
    const int added = static_cast<int>(lines.size());
    const int current = static_cast<int>(lines_.size());
    const int after = lines_after(current, added);
    const int removed = current + added - after;  // oldest lines that go
    // Only lines that survive are converted: a batch of 100,000 lines costs
    // at most 500 conversions.
    const int first_kept = std::max(0, removed - current);
    QStringList kept;
    kept.reserve(added - first_kept);
    for (const std::string& line : lines.subspan(static_cast<std::size_t>(first_kept))) {
        kept.append(QString::fromStdString(line));
    }
    append_kept(kept, std::min(removed, current));
}

void OutputPane::add_line(const QString& line) {
    const int current = static_cast<int>(lines_.size());
    append_kept({line}, current + 1 - lines_after(current, 1));
}

void OutputPane::append_kept(const QStringList& kept, int removed_old) {
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    if (removed_old > 0 || lines_.isEmpty()) {
        // Replacing the whole text lays the pane out faster than cutting its
        // first lines and appending.
        lines_.remove(0, removed_old);
        lines_.append(kept);
        cursor.select(QTextCursor::Document);
        cursor.insertText(join_blocks(lines_));
    } else {
        lines_.append(kept);
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(QChar::LineFeed + join_blocks(kept));
    }
    cursor.endEditBlock();
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void OutputPane::clear_console() {
    clear();
    lines_.clear();
    const int blanks = height() / 8;
    for (int i = 0; i < blanks; ++i) add_line(QStringLiteral(" "));
}

void OutputPane::set_lines(const QStringList& lines) {
    lines_ = lines;
    setPlainText(join_blocks(lines_));
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void OutputPane::resizeEvent(QResizeEvent* event) {
    QScrollBar* scroll = verticalScrollBar();
    const bool at_end = scroll->value() == scroll->maximum();
    QPlainTextEdit::resizeEvent(event);
    if (at_end) scroll->setValue(scroll->maximum());
}

void OutputPane::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    emit keyPressed();
}

}  // namespace ostrac::ui
