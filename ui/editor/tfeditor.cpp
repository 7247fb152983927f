#include "editor/tfeditor.h"

#include <QBoxLayout>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QShortcut>
#include <QStackedLayout>

#include "common/compact_button.h"
#include "common/widget_making.h"
#include "common/window_stacking.h"
#include "editor/caret_line.h"
#include "editor/code_edit.h"
#include "editor/prg_file.h"
#include "editor/program_text.h"
#include "worker/session_link.h"

namespace ostrac::ui {

namespace {

enum class GutterMark { Blank, Arrow, End };

constexpr QRgb current_line_colour = 0xFFFF80;  // light yellow
constexpr QRgb arrow_colour = 0xC00000;         // dark red
constexpr QRgb end_colour = 0x808080;           // grey
constexpr int gutter = 10;  // the mark's place left of every line

// The gutter of a list line: empty, the arrow of the line where the
// program stopped, or the square of the line where it ended.
QIcon make_gutter_icon(GutterMark mark) {
    QPixmap pixmap(gutter, gutter);
    pixmap.fill(Qt::transparent);
    if (mark != GutterMark::Blank) {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        if (mark == GutterMark::Arrow) {
            painter.setBrush(QColor(arrow_colour));
            painter.drawPolygon(
                QPolygonF({QPointF(1, 1), QPointF(gutter - 1, gutter / 2.0), QPointF(1, gutter - 1)}));
        } else {
            painter.setBrush(QColor(end_colour));
            painter.drawRect(QRectF(2, 2, gutter - 4, gutter - 4));
        }
    }
    return QIcon(pixmap);
}

struct ButtonRow {
    const char* name;
    const char* text;
};

// The buttons from top to bottom; a gap parts the file buttons from the
// run buttons.
constexpr std::array<ButtonRow, 7> button_rows{{
    {"BOpen", "open"},
    {"BSave", "save"},
    {"BEdit", "edit"},
    {"Brun", "run"},
    {"BRunTo", "runTo"},
    {"BStep", "Step"},
    {"BStepInto", "StepInto"},
}};
constexpr std::size_t first_run_button = 3;
constexpr int designed_gap = 12;

}  // namespace

TFEditor::TFEditor(SessionLink& link, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint),
      link_(link),
      blank_gutter_(make_gutter_icon(GutterMark::Blank)),
      arrow_gutter_(make_gutter_icon(GutterMark::Arrow)),
      end_gutter_(make_gutter_icon(GutterMark::End)) {
    setObjectName("FEditor");
    setWindowTitle("OSTRAC EDITOR");

    // The list lies under the text and is seen only while the text is hidden.
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName("ListBox1");
    ListBox1->setUniformItemSizes(true);
    ListBox1->setIconSize(QSize(gutter, gutter));

    Medit = new CodeEdit(this);
    Medit->setObjectName("Medit");
    connect(Medit, &QPlainTextEdit::cursorPositionChanged, this, &TFEditor::caret_line);

    auto* texts = new QStackedLayout;
    texts->setStackingMode(QStackedLayout::StackAll);
    texts->addWidget(ListBox1);
    texts->addWidget(Medit);
    texts->setCurrentWidget(Medit);
    ListBox1->hide();

    auto* column = new QVBoxLayout;
    column->setSpacing(0);
    using Handler = void (TFEditor::*)();
    const std::array<Handler, 7> handlers{&TFEditor::BOpenClick,  &TFEditor::BSaveClick, &TFEditor::BEditClick,
                                          &TFEditor::BrunClick,   &TFEditor::BRunToClick, &TFEditor::BStepClick,
                                          &TFEditor::BStepIntoClick};
    for (std::size_t i = 0; i < button_rows.size(); ++i) {
        auto* button = new CompactButton(button_rows[i].text, button_rows[i].name, this);
        button->setAutoRaise(true);
        connect(button, &QToolButton::clicked, this, handlers[i]);
        if (i == first_run_button) column->addSpacing(designed_gap);
        column->addWidget(button);
    }

    Label1 = make_label("Line=", "Label1", this);
    Labely = make_label("1", "Labely", this);
    LEnded = make_label("ended", "LEnded", this);
    LEnded->hide();
    line_row_ = new QHBoxLayout;
    line_row_->addWidget(Label1);
    line_row_->addWidget(Labely, 1);
    column->addSpacing(4);
    column->addLayout(line_row_);
    column->addWidget(LEnded);
    column->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 2, 2);
    layout->setSpacing(2);
    layout->addLayout(texts, 1);
    layout->addLayout(column);
    follow_font();

    // F7 steps into, wherever the focus is in this window.
    auto* f7 = new QShortcut(QKeySequence(Qt::Key_F7), this);
    f7->setContext(Qt::WindowShortcut);
    connect(f7, &QShortcut::activated, this, &TFEditor::BStepIntoClick);

    move(262, 159);
    // Client area of the designed 335 x 276 window, or what the font needs.
    resize(QSize(327, 249).expandedTo(minimumSizeHint()));
}

void TFEditor::follow_font() {
    // The program in bold, as designed, at the desktop's size.
    const QFont text_font = bold_font(font());
    Medit->setFont(text_font);
    ListBox1->setFont(text_font);
    // The caption and the line number are a blank apart; the number has room
    // for five digits.
    line_row_->setSpacing(fontMetrics().horizontalAdvance(' ') + 2);
    Labely->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00000")));
}

void TFEditor::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) follow_font();
}

bool TFEditor::open_file(const QString& path) {
    QString error;
    const std::optional<QStringList> lines = prg_file::read(path, error);
    if (!lines) {
        report(QStringLiteral("The program %1 cannot be opened.\n%2").arg(path, error));
        return false;
    }
    file_name_ = path;
    Medit->setPlainText(program_text::text(*lines));
    caret_line();
    return true;
}

bool TFEditor::save_file(const QString& path) {
    QString error;
    if (!prg_file::write(path, program_lines(), error)) {
        report(QStringLiteral("The program cannot be saved as %1.\n%2").arg(path, error));
        return false;
    }
    file_name_ = path;
    return true;
}

int TFEditor::caret_line() {
    const int line = ui::caret_line(Medit->toPlainText(), Medit->textCursor().position());
    Labely->setText(QString::number(line));
    return line;
}

QStringList TFEditor::program_lines() const { return program_text::lines(Medit->toPlainText()); }

debugger::State TFEditor::state() {
    auto access = link_.session_access();
    return debugger::state(debug_view_, access.session());
}

void TFEditor::editor_show_line(int line) {
    const int row = line - 1;
    if (row < 0 || row >= ListBox1->count()) return;
    ListBox1->setCurrentRow(row);
    mark_row(row);
}

void TFEditor::editor_reset() {
    mark_row(-1);
    debug_view_ = false;
    LEnded->hide();
    ListBox1->hide();
    Medit->show();
    Labely->show();
}

void TFEditor::worker_parked() {
    if (!debug_view_ || state() != debugger::State::Ended) return;
    // The line the program last reached loses the stop mark and shows where
    // it ended.
    const int last = current_row_;
    mark_row(-1);
    if (QListWidgetItem* item = ListBox1->item(last)) item->setIcon(end_gutter_);
    LEnded->show();
}

void TFEditor::mark_row(int row) {
    if (QListWidgetItem* old = ListBox1->item(current_row_)) {
        old->setData(Qt::BackgroundRole, QVariant());
        old->setData(Qt::ForegroundRole, QVariant());
        old->setData(Qt::FontRole, QVariant());
        old->setIcon(blank_gutter_);
    }
    current_row_ = row;
    if (QListWidgetItem* item = ListBox1->item(row)) {
        // Dark text on the yellow mark, whatever the palette's text colour.
        item->setBackground(QColor(current_line_colour));
        item->setForeground(QColor(Qt::black));
        item->setIcon(arrow_gutter_);
        QFont font = ListBox1->font();
        font.setUnderline(true);
        item->setFont(font);
        ListBox1->scrollToItem(item);
    }
}

void TFEditor::enter_debug_view() {
    mark_row(-1);
    ListBox1->clear();
    for (const QString& line : program_lines()) new QListWidgetItem(blank_gutter_, line, ListBox1);
    debug_view_ = true;
    LEnded->hide();
    ListBox1->show();
    Medit->hide();
    Labely->hide();
    ListBox1->setFocus();
}

template <class Operation>
void TFEditor::act(Operation operation) {
    auto access = link_.session_access();
    const debugger::Outcome outcome = operation(access.session());
    if (outcome.enter_debug_view) enter_debug_view();
    if (outcome.resume) link_.resume_worker(access);
}

void TFEditor::BOpenClick() {
    QFileDialog dialog(this, QStringLiteral("Open program"));
    dialog.setObjectName("OpenDialog1");
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(prg_file::extension);
    dialog.setNameFilters({QStringLiteral("Programs (*.prg)"), QStringLiteral("All files (*)")});
    keep_above_windows(&dialog);
    if (!file_name_.isEmpty()) dialog.setDirectory(QFileInfo(file_name_).absolutePath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    open_file(dialog.selectedFiles().front());
}

void TFEditor::BSaveClick() {
    QFileDialog dialog(this, QStringLiteral("Save program"));
    dialog.setObjectName("SaveDialog1");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(prg_file::extension);
    dialog.setNameFilters({QStringLiteral("Programs (*.prg)"), QStringLiteral("All files (*)")});
    keep_above_windows(&dialog);
    if (!file_name_.isEmpty()) dialog.selectFile(file_name_);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    save_file(dialog.selectedFiles().front());
}

void TFEditor::BEditClick() {
    act([](session::Session& s) { return debugger::edit(s); });
}

void TFEditor::BrunClick() {
    const std::vector<std::string> program = program_text::feed_lines(program_lines());
    act([&](session::Session& s) { return debugger::run(s, program); });
}

void TFEditor::BRunToClick() {
    const int caret = caret_line();
    const int picked = ListBox1->currentRow() + 1;
    const std::vector<std::string> program = program_text::feed_lines(program_lines());
    act([&](session::Session& s) { return debugger::run_to(s, caret, picked, program); });
}

void TFEditor::BStepClick() {
    const std::vector<std::string> program = program_text::feed_lines(program_lines());
    act([&](session::Session& s) { return debugger::step(s, program); });
}

void TFEditor::BStepIntoClick() {
    const std::vector<std::string> program = program_text::feed_lines(program_lines());
    act([&](session::Session& s) { return debugger::step_into(s, program); });
}

void TFEditor::report(const QString& text) { warn(this, text); }

}  // namespace ostrac::ui
