// The editor's text control: plain text with a margin of line numbers on
// its left and the program's syntax coloured. The Tab key inserts a tab.
// Its colours follow the palette, light or dark.
#pragma once

#include <QPlainTextEdit>

namespace ostrac::ui {

class ProgramHighlighter;

class CodeEdit : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit CodeEdit(QWidget* parent = nullptr);

    int line_number_area_width() const;
    QWidget* line_number_area() const;
    ProgramHighlighter* highlighter() const { return highlighter_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    class LineNumberArea;

    void paint_line_numbers(QPaintEvent* event);
    void update_margin();
    void update_line_number_area(const QRect& rect, int dy);
    void follow_palette();

    LineNumberArea* line_numbers_ = nullptr;
    ProgramHighlighter* highlighter_ = nullptr;
};

}  // namespace ostrac::ui
