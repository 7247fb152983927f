// The console's output pane (Memo1): a read-only list of lines.
//
// It holds at most 500 lines: whenever a line added one at a time would make
// it 501, the oldest 100 go. A batch of lines gets exactly the result of
// adding its lines one by one, but in one update of the QTextDocument, so a flood
// of engine output costs one redraw per batch and no intermediate state is
// ever shown. The pane starts with one empty line. A pane that shows its
// newest line keeps showing it when it is resized.
#pragma once

#include <QPlainTextEdit>
#include <QStringList>
#include <span>
#include <string>

namespace ostrac::ui {

class OutputPane : public QPlainTextEdit {
    Q_OBJECT

public:
    static constexpr int max_lines = 500;
    static constexpr int trim_lines = 100;

    explicit OutputPane(QWidget* parent = nullptr);

    // The number of lines a pane of `current` lines holds after `added`
    // lines were appended one by one.
    static int lines_after(int current, int added);

    // Appends engine lines (UTF-8) as new last lines.
    void add_lines(std::span<const std::string> lines);
    void add_line(const QString& line);

    // The fcls command: the pane holds (height in pixels / 8) blank lines,
    // so new output starts at its bottom.
    void clear_console();

    int line_count() const { return static_cast<int>(lines_.size()); }
    const QStringList& lines() const { return lines_; }
    // Replaces the contents (Load).
    void set_lines(const QStringList& lines);

signals:
    // A key was pressed in the pane: the console gives the entry the focus.
    void keyPressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void append_kept(const QStringList& kept, int removed_old);

    // The pane's lines; the QTextDocument shows them, one block each.
    QStringList lines_{QString()};
};

}  // namespace ostrac::ui
