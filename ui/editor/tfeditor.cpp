#include "editor/tfeditor.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QShortcut>
#include <QToolButton>
#include <algorithm>

#include "common/widget_making.h"
#include "editor/caret_line.h"
#include "editor/code_edit.h"
#include "editor/prg_file.h"
#include "editor/program_text.h"
#include "worker/session_link.h"

namespace ostrac::ui {

namespace {

constexpr int item_height = 16;
constexpr int label1_width = 24;  // designed width of Label1, where Labely starts
constexpr QRgb current_line_colour = 0xFFFF80;  // light yellow
constexpr QRgb arrow_colour = 0xC00000;         // dark red
constexpr int gutter = 10;  // the arrow's place left of every line

// The gutter of a list line: empty, or the arrow of the current line.
QIcon make_gutter_icon(bool arrow) {
    QPixmap pixmap(gutter, gutter);
    pixmap.fill(Qt::transparent);
    if (arrow) {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(arrow_colour));
        painter.drawPolygon(QPolygonF({QPointF(1, 1), QPointF(gutter - 1, gutter / 2.0), QPointF(1, gutter - 1)}));
    }
    return QIcon(pixmap);
}

struct ButtonRow {
    const char* name;
    const char* text;
    QRect geometry;
};

// The buttons from top to bottom.
constexpr std::array<ButtonRow, 7> button_rows{{
    {"BOpen", "open", {240, 0, 59, 24}},
    {"BSave", "save", {240, 24, 59, 26}},
    {"BEdit", "edit", {240, 50, 59, 25}},
    {"Brun", "run", {240, 87, 59, 25}},
    {"BRunTo", "runTo", {240, 112, 59, 25}},
    {"BStep", "Step", {240, 137, 59, 25}},
    {"BStepInto", "StepInto", {240, 162, 59, 25}},
}};

}  // namespace

TFEditor::TFEditor(SessionLink& link, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint),
      link_(link),
      blank_gutter_(make_gutter_icon(false)),
      arrow_gutter_(make_gutter_icon(true)) {
    setObjectName("FEditor");
    setWindowTitle("OSTRAC EDITOR");
    setFont(pixel_font("Sans Serif", QFont::SansSerif, 11));
    const QFont text_font = pixel_font("Sans Serif", QFont::SansSerif, 13, true);

    // The list lies under the text and is seen only while the text is hidden.
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName("ListBox1");
    ListBox1->setGeometry(80, 0, 97, 121);
    ListBox1->setFont(text_font);
    ListBox1->setUniformItemSizes(true);
    ListBox1->setIconSize(QSize(gutter, gutter));
    ListBox1->hide();

    Medit = new CodeEdit(this);
    Medit->setObjectName("Medit");
    Medit->setGeometry(0, 0, 129, 121);
    Medit->setFont(text_font);
    connect(Medit, &QPlainTextEdit::cursorPositionChanged, this, &TFEditor::caret_line);

    using Handler = void (TFEditor::*)();
    const std::array<Handler, 7> handlers{&TFEditor::BOpenClick,  &TFEditor::BSaveClick, &TFEditor::BEditClick,
                                          &TFEditor::BrunClick,   &TFEditor::BRunToClick, &TFEditor::BStepClick,
                                          &TFEditor::BStepIntoClick};
    for (std::size_t i = 0; i < button_rows.size(); ++i) {
        auto* button = new QToolButton(this);
        button->setObjectName(button_rows[i].name);
        button->setText(button_rows[i].text);
        button->setGeometry(button_rows[i].geometry);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QToolButton::clicked, this, handlers[i]);
        buttons_.append(button);
    }
    BOpen = buttons_.front();

    Label1 = new QLabel("Line=", this);
    Label1->setObjectName("Label1");
    Label1->move(240, 193);
    Label1->adjustSize();
    Label1->resize(std::max(label1_width, Label1->width()), Label1->height());
    Labely = new QLabel("1", this);
    Labely->setObjectName("Labely");
    Labely->move(264, 192);
    Labely->resize(40, Labely->sizeHint().height());

    // F7 steps into, wherever the focus is in this window.
    auto* f7 = new QShortcut(QKeySequence(Qt::Key_F7), this);
    f7->setContext(Qt::WindowShortcut);
    connect(f7, &QShortcut::activated, this, &TFEditor::BStepIntoClick);

    move(262, 159);
    // Client area of the designed 335 x 276 window.
    resize(327, 249);
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
    ListBox1->hide();
    Medit->show();
    Labely->show();
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
    for (const QString& line : program_lines()) {
        auto* item = new QListWidgetItem(blank_gutter_, line, ListBox1);
        item->setSizeHint(QSize(0, item_height));
    }
    debug_view_ = true;
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

void TFEditor::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

void TFEditor::FormResize() {
    const int ch = height();
    const int cw = width();
    const int bw = BOpen->width();
    Medit->setGeometry(Medit->x(), 0, cw - bw - 4, ch - 2);
    ListBox1->setGeometry(Medit->x(), 0, cw - bw - 4, ch - 2);
    const int left = Medit->width() + 2;
    for (QToolButton* button : buttons_) button->move(left, button->y());
    Label1->move(left, Label1->y());
    Labely->move(Label1->x() + Label1->width(), Labely->y());
}

void TFEditor::report(const QString& text) { QMessageBox::warning(this, windowTitle(), text); }

}  // namespace ostrac::ui
