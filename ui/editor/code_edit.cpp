#include "editor/code_edit.h"

#include <QPainter>
#include <QTextBlock>
#include <algorithm>

#include "editor/program_highlighter.h"

namespace ostrac::ui {

namespace {
constexpr int margin_padding = 4;
}  // namespace

class CodeEdit::LineNumberArea : public QWidget {
public:
    explicit LineNumberArea(CodeEdit* editor) : QWidget(editor), editor_(editor) {}
    QSize sizeHint() const override { return {editor_->line_number_area_width(), 0}; }

protected:
    void paintEvent(QPaintEvent* event) override { editor_->paint_line_numbers(event); }

private:
    CodeEdit* editor_;
};

CodeEdit::CodeEdit(QWidget* parent)
    : QPlainTextEdit(parent), line_numbers_(new LineNumberArea(this)), highlighter_(new ProgramHighlighter(document())) {
    line_numbers_->setObjectName("LineNumbers");
    setTabChangesFocus(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(this, &QPlainTextEdit::blockCountChanged, this, &CodeEdit::update_margin);
    connect(this, &QPlainTextEdit::updateRequest, this, &CodeEdit::update_line_number_area);
    update_margin();
    follow_palette();
}

QWidget* CodeEdit::line_number_area() const { return line_numbers_; }

int CodeEdit::line_number_area_width() const {
    int digits = 1;
    for (int count = std::max(1, blockCount()); count >= 10; count /= 10) ++digits;
    return 2 * margin_padding + fontMetrics().horizontalAdvance(QLatin1Char('9')) * std::max(digits, 2);
}

void CodeEdit::update_margin() { setViewportMargins(line_number_area_width(), 0, 0, 0); }

void CodeEdit::update_line_number_area(const QRect& rect, int dy) {
    if (dy != 0) {
        line_numbers_->scroll(0, dy);
    } else {
        line_numbers_->update(0, rect.y(), line_numbers_->width(), rect.height());
    }
    if (rect.contains(viewport()->rect())) update_margin();
}

void CodeEdit::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    line_numbers_->setGeometry(area.left(), area.top(), line_number_area_width(), area.height());
}

void CodeEdit::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) follow_palette();
}

void CodeEdit::follow_palette() {
    const QPalette& colours = palette();
    highlighter_->set_dark_background(colours.color(QPalette::Base).lightness() < 128);
    line_numbers_->update();
}

void CodeEdit::paint_line_numbers(QPaintEvent* event) {
    QPainter painter(line_numbers_);
    painter.fillRect(event->rect(), palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.setFont(font());
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    int bottom = top + qRound(blockBoundingRect(block).height());
    const int line_height = fontMetrics().height();
    while (block.isValid() && top <= event->rect().bottom()) {
        if (block.isVisible() && bottom >= event->rect().top()) {
            painter.drawText(0, top, line_numbers_->width() - margin_padding, line_height, Qt::AlignRight,
                             QString::number(block.blockNumber() + 1));
        }
        block = block.next();
        top = bottom;
        bottom = top + qRound(blockBoundingRect(block).height());
    }
}

}  // namespace ostrac::ui
