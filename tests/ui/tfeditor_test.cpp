// The program editor driven as a person would, next to the console: typing
// a program into Medit, pressing its buttons and F7, picking lines in
// ListBox1, typing at the console while a program is stopped, and reading
// the console's pane, the list's selection and the line label.
#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <QToolButton>
#include <memory>

#include "console/entry_field.h"
#include "console/output_pane.h"
#include "console/tform1.h"
#include "console_test_support.h"
#include "editor/code_edit.h"
#include "editor/program_highlighter.h"
#include "editor/tfeditor.h"
#include "ui_test_support.h"

using ostrac::session::RunState;
using namespace ostrac::ui;
using State = debugger::State;

namespace {

// A started console with its editor shown, and the editor's controls.
struct Desk : test::Console {
    Desk() {
        QTest::mouseClick(form->findChild<QToolButton*>("B_Edit"), Qt::LeftButton);
        if (!QTest::qWaitForWindowExposed(editor)) qFatal("the editor window was not shown");
    }

    QToolButton* button(const char* name) const { return editor->findChild<QToolButton*>(name); }

    // Clicks an editor button, lets the program go as far as it goes, and
    // returns the pane lines it added.
    QStringList press(const char* name) {
        const qsizetype before = memo->lines().size();
        QTest::mouseClick(button(name), Qt::LeftButton);
        if (!wait_idle()) return {"<still running>"};
        return memo->lines().mid(before);
    }

    // Types a line at the console and returns the pane lines it added.
    QStringList type(const QString& line) { return command(line); }

    void set_program(const QStringList& lines) { medit->setPlainText(lines.join('\n')); }

    void put_caret(int block, int column = 0) {
        QTextCursor cursor(medit->document()->findBlockByNumber(block));
        cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, column);
        medit->setTextCursor(cursor);
    }

    int stopped_at() {
        auto access = form->session_access();
        const auto& s = access.session();
        return s.run_state == RunState::Paused ? s.current_line : 0;
    }

    TFEditor* editor = form->editor_window();
    CodeEdit* medit = editor->findChild<CodeEdit*>("Medit");
    QListWidget* list = editor->findChild<QListWidget*>("ListBox1");
    QLabel* labely = editor->findChild<QLabel*>("Labely");
};

// Closes the next modal message box and keeps its text.
std::shared_ptr<QString> catch_message_box() {
    auto text = std::make_shared<QString>();
    QTimer::singleShot(0, [text] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            *text = box->text();
            box->close();
        }
    });
    return text;
}

// Fills in the next file dialog with `name` and accepts it (or cancels it);
// keeps the dialog's default suffix and its preset file.
struct DialogAnswer {
    QString default_suffix;
    QString preset;
    bool seen = false;
};

std::shared_ptr<DialogAnswer> answer_file_dialog(const QString& name, bool accept = true) {
    auto answer = std::make_shared<DialogAnswer>();
    QTimer::singleShot(0, [answer, name, accept] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        answer->seen = true;
        answer->default_suffix = dialog->defaultSuffix();
        if (auto* field = dialog->findChild<QLineEdit*>("fileNameEdit")) answer->preset = field->text();
        if (!accept) {
            dialog->reject();
            return;
        }
        dialog->selectFile(name);
        static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept, as the Open button does
    });
    return answer;
}

const QStringList straight{"a = 1", "b = 2", "c = 3", "d = 4", "e = 5", "f = a + e", "print f"};

const QStringList with_function{
    "function twice(x)",  // 1
    "  twice = 2 * x",    // 2
    "endfn",              // 3
    "y = twice(4)",       // 4
    "print y",            // 5
};

}  // namespace

class TFEditorTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void controls_have_their_designed_place_and_text_data();
    void controls_have_their_designed_place_and_text();
    void the_editor_button_shows_the_window();
    void resizing_follows_the_window();
    void the_text_takes_tabs_and_has_both_scroll_bars();
    void a_three_line_program_runs_without_markers();
    void step_on_an_idle_session_stops_at_line_1();
    void run_to_stops_at_the_caret_line();
    void step_passes_over_a_function_and_step_into_enters_it();
    void a_variable_typed_at_a_stop_prints_and_the_program_stays();
    void edit_while_stopped_halts_and_shows_the_text_unchanged();
    void an_ended_program_keeps_the_list_until_edit();
    void f7_steps_into_from_the_text_the_list_and_the_window();
    void a_compile_error_returns_to_the_text();
    void line_label_follows_the_caret_data();
    void line_label_follows_the_caret();
    void open_and_save_through_their_dialogs();
    void files_that_are_not_text_are_refused_with_a_message_data();
    void files_that_are_not_text_are_refused_with_a_message();
    void file_errors_are_reported_in_message_boxes();
    void the_text_is_coloured_and_numbered();
    void a_debugging_session_through_a_thirty_line_program();
    void a_long_debugged_run_keeps_the_window_responsive();
    void screenshot_of_the_debug_view();
};

void TFEditorTest::controls_have_their_designed_place_and_text_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("BOpen") << "BOpen" << "open";
    QTest::newRow("BSave") << "BSave" << "save";
    QTest::newRow("BEdit") << "BEdit" << "edit";
    QTest::newRow("Brun") << "Brun" << "run";
    QTest::newRow("BRunTo") << "BRunTo" << "runTo";
    QTest::newRow("BStep") << "BStep" << "Step";
    QTest::newRow("BStepInto") << "BStepInto" << "StepInto";
}

void TFEditorTest::controls_have_their_designed_place_and_text() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    Desk desk;
    QToolButton* button = desk.button(qPrintable(name));
    QVERIFY(button != nullptr);
    QCOMPARE(button->text(), text);
    QVERIFY(button->autoRaise());
    // The buttons stand right of the text, whose width follows the window.
    constexpr test::DesignedPlace places[] = {
        {"Medit", {0, 0, 237, 247}},    {"BOpen", {240, 0, 59, 24}},    {"BSave", {240, 24, 59, 26}},
        {"BEdit", {240, 50, 59, 25}},   {"Brun", {240, 87, 59, 25}},    {"BRunTo", {240, 112, 59, 25}},
        {"BStep", {240, 137, 59, 25}},  {"BStepInto", {240, 162, 59, 25}}, {"Label1", {240, 193, 24, 13}},
        {"Labely", {265, 192, 40, 13}},
    };
    const QStringList faults = test::arrangement_faults(desk.editor, places);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    QVERIFY(desk.editor->width() >= 327 && desk.editor->height() >= 249);
    // The buttons are one column, of one width.
    QCOMPARE(button->x(), desk.button("BOpen")->x());
    QCOMPARE(button->width(), desk.button("BOpen")->width());
}

void TFEditorTest::the_editor_button_shows_the_window() {
    test::TestFolders folders;
    folders.store_defaults_with_home();
    TForm1 form;
    TFEditor* editor = form.editor_window();
    QVERIFY(!editor->isVisible());
    QCOMPARE(editor->windowTitle(), QString("OSTRAC EDITOR"));
    QVERIFY(editor->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(editor->pos(), QPoint(262, 159));
    auto* b_edit = form.findChild<QToolButton*>("B_Edit");
    QVERIFY(b_edit->isEnabled());
    form.show();
    QTest::mouseClick(b_edit, Qt::LeftButton);
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->findChild<QLabel*>("Label1")->text(), QString("Line="));
    QCOMPARE(editor->findChild<QLabel*>("Labely")->text(), QString("1"));
    QVERIFY(editor->findChild<CodeEdit*>("Medit")->isVisible());
    QVERIFY(!editor->findChild<QListWidget*>("ListBox1")->isVisible());
}

void TFEditorTest::resizing_follows_the_window() {
    Desk desk;
    desk.editor->resize(500, 300);
    QTRY_COMPARE(desk.editor->size(), QSize(500, 300));
    // The text takes what the buttons leave, and the list lies under it.
    const QRect text = desk.medit->geometry();
    QCOMPARE(text.topLeft(), QPoint(0, 0));
    QVERIFY(text.bottom() >= 300 - 3);
    QCOMPARE(desk.list->geometry(), text);
    for (const char* name : {"BOpen", "BSave", "BEdit", "Brun", "BRunTo", "BStep", "BStepInto"}) {
        QCOMPARE(desk.button(name)->x(), text.right() + 3);
        QVERIFY(desk.button(name)->geometry().right() <= 499);
    }
    auto* label1 = desk.editor->findChild<QLabel*>("Label1");
    QCOMPARE(label1->x(), text.right() + 3);
    QVERIFY(desk.labely->x() > label1->geometry().right());
}

void TFEditorTest::the_text_takes_tabs_and_has_both_scroll_bars() {
    Desk desk;
    QVERIFY(desk.medit->font().bold());
    QCOMPARE(desk.medit->font().pointSizeF(), desk.editor->font().pointSizeF());
    QVERIFY(desk.medit->font().bold());
    QCOMPARE(desk.list->font(), desk.medit->font());
    QCOMPARE(desk.medit->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(desk.medit->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    desk.medit->setFocus();
    QTest::keyClicks(desk.medit, "for i = 1 to 2");
    QTest::keyClick(desk.medit, Qt::Key_Return);
    QTest::keyClick(desk.medit, Qt::Key_Tab);
    QTest::keyClicks(desk.medit, "print i");
    QCOMPARE(desk.medit->toPlainText(), QString("for i = 1 to 2\n\tprint i"));
    QCOMPARE(desk.editor->focusWidget(), desk.medit);
    QCOMPARE(desk.labely->text(), QString("2"));
}

void TFEditorTest::a_three_line_program_runs_without_markers() {
    Desk desk;
    desk.set_program({"x = 1", "print x + 1", "print \"three\""});
    QCOMPARE(desk.press("Brun"), (QStringList{"2", "three"}));
    QCOMPARE(desk.editor->state(), State::Editing);
    QVERIFY(desk.medit->isVisible());
    // The console is free again and reads its own line.
    QCOMPARE(desk.type("print x"), (QStringList{">> print x", "1"}));
}

void TFEditorTest::step_on_an_idle_session_stops_at_line_1() {
    Desk desk;
    desk.set_program(straight);
    QCOMPARE(desk.press("BStep"), QStringList{"[line 1]"});
    QCOMPARE(desk.editor->state(), State::DebugPaused);
    QVERIFY(!desk.medit->isVisible());
    QVERIFY(!desk.labely->isVisible());
    QVERIFY(desk.list->isVisible());
    QCOMPARE(desk.list->count(), straight.size());
    for (int i = 0; i < desk.list->count(); ++i) QCOMPARE(desk.list->item(i)->text(), straight[i]);
    QCOMPARE(desk.list->currentRow(), 0);
    QCOMPARE(desk.editor->current_row(), 0);
    QCOMPARE(desk.list->item(0)->background().color(), QColor(0xFF, 0xFF, 0x80));
    // A row as high as the program's bold text, in the window's size.
    QVERIFY(desk.list->visualItemRect(desk.list->item(0)).height() >= desk.list->fontMetrics().height());
    QVERIFY(desk.list->font().bold());
    // Each further press goes one line on, and the mark follows.
    QCOMPARE(desk.press("BStep"), QStringList{"[line 2]"});
    QCOMPARE(desk.list->currentRow(), 1);
    QCOMPARE(desk.editor->current_row(), 1);
    QCOMPARE(desk.list->item(0)->background(), QBrush());
}

void TFEditorTest::run_to_stops_at_the_caret_line() {
    Desk desk;
    desk.set_program(straight);
    desk.put_caret(4, 2);
    QCOMPARE(desk.press("BRunTo"),
             (QStringList{"[line 1]", "[line 2]", "[line 3]", "[line 4]", "[line 5]"}));
    QCOMPARE(desk.stopped_at(), 5);
    QCOMPARE(desk.list->currentRow(), 4);
    // A later press runs on to the line picked in the list.
    desk.list->setCurrentRow(6);
    QCOMPARE(desk.press("BRunTo"), (QStringList{"[line 6]", "[line 7]"}));
    QCOMPARE(desk.stopped_at(), 7);
    desk.press("BRunTo");
    QCOMPARE(desk.memo->lines().back(), QString("6"));
    QCOMPARE(desk.editor->state(), State::Ended);
}

void TFEditorTest::step_passes_over_a_function_and_step_into_enters_it() {
    Desk desk;
    desk.set_program(with_function);
    desk.put_caret(3);
    desk.press("BRunTo");
    QCOMPARE(desk.stopped_at(), 4);
    // A function called from the console at a stop runs to its end and
    // leaves the stop where it was.
    QCOMPARE(desk.type("twice(5)"), QStringList{"10"});
    QCOMPARE(desk.stopped_at(), 4);
    QCOMPARE(desk.list->currentRow(), 3);
    // The body's markers go by without stopping.
    QCOMPARE(desk.press("BStep"), (QStringList{"[line 2]", "[line 3]", "[line 5]"}));
    QCOMPARE(desk.stopped_at(), 5);

    desk.press("BEdit");
    desk.put_caret(3);
    desk.press("BRunTo");
    QCOMPARE(desk.stopped_at(), 4);
    QCOMPARE(desk.press("BStepInto"), QStringList{"[line 2]"});
    QCOMPARE(desk.stopped_at(), 2);
    QCOMPARE(desk.list->currentRow(), 1);
    QCOMPARE(desk.type("x"), QStringList{"4"});
}

void TFEditorTest::a_variable_typed_at_a_stop_prints_and_the_program_stays() {
    Desk desk;
    desk.set_program(straight);
    desk.put_caret(3);
    desk.press("BRunTo");
    QCOMPARE(desk.stopped_at(), 4);
    QCOMPARE(desk.type("b"), QStringList{"2"});
    QCOMPARE(desk.type("c * 10"), QStringList{"30"});
    QCOMPARE(desk.stopped_at(), 4);
    QCOMPARE(desk.editor->state(), State::DebugPaused);
    QCOMPARE(desk.list->currentRow(), 3);
    QCOMPARE(desk.edit->history().slot(0), QString("c * 10"));
    // The program goes on from where it stopped.
    QCOMPARE(desk.press("BStep"), QStringList{"[line 5]"});
}

void TFEditorTest::edit_while_stopped_halts_and_shows_the_text_unchanged() {
    Desk desk;
    desk.set_program(straight);
    const QString text = desk.medit->toPlainText();
    desk.press("BStep");
    desk.press("BStep");
    QCOMPARE(desk.stopped_at(), 2);
    QCOMPARE(desk.press("BEdit"), QStringList{"User Halted!"});
    QCOMPARE(desk.editor->state(), State::Editing);
    QVERIFY(desk.medit->isVisible());
    QVERIFY(desk.labely->isVisible());
    QVERIFY(!desk.list->isVisible());
    QCOMPARE(desk.medit->toPlainText(), text);
    QCOMPARE(desk.editor->current_row(), -1);
    QCOMPARE(desk.form->run_state(), RunState::Idle);
    QCOMPARE(desk.type("print c"), (QStringList{">> print c", "0"}));
}

void TFEditorTest::an_ended_program_keeps_the_list_until_edit() {
    Desk desk;
    desk.set_program({"a = 1", "print a"});
    desk.press("BStepInto");
    desk.press("BStepInto");
    QCOMPARE(desk.press("BStepInto"), QStringList{"1"});
    QCOMPARE(desk.editor->state(), State::Ended);
    QVERIFY(desk.list->isVisible());
    // Ended looks unlike stopped: no line keeps the stop mark, and the
    // window says the program has ended.
    for (int row = 0; row < desk.list->count(); ++row) {
        QVERIFY(desk.list->item(row)->background().color() != QColor(0xFF, 0xFF, 0x80));
    }
    QCOMPARE(desk.editor->current_row(), -1);
    auto* ended = desk.editor->findChild<QLabel*>("LEnded");
    QVERIFY(ended != nullptr && ended->isVisible());
    QCOMPARE(ended->text(), QString("ended"));
    // Step starts a new debugged run.
    QCOMPARE(desk.press("BStep"), QStringList{"[line 1]"});
    QCOMPARE(desk.stopped_at(), 1);
    QVERIFY(!ended->isVisible());
    QCOMPARE(desk.editor->current_row(), 0);
    desk.press("BRunTo");
    QCOMPARE(desk.editor->state(), State::Ended);
    QCOMPARE(desk.press("BEdit"), QStringList{"User Halted!"});
    QCOMPARE(desk.editor->state(), State::Editing);
    QVERIFY(!ended->isVisible());
}

void TFEditorTest::f7_steps_into_from_the_text_the_list_and_the_window() {
    Desk desk;
    desk.set_program(with_function);
    desk.editor->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(desk.editor));
    desk.medit->setFocus();
    QTest::keyClick(desk.medit, Qt::Key_F7);
    QVERIFY(desk.wait_idle());
    QCOMPARE(desk.stopped_at(), 1);
    QCOMPARE(desk.medit->toPlainText(), with_function.join('\n'));  // F7 typed nothing
    QTest::keyClick(desk.list, Qt::Key_F7);
    QVERIFY(desk.wait_idle());
    QCOMPARE(desk.stopped_at(), 4);
    QTest::keyClick(desk.editor, Qt::Key_F7);
    QVERIFY(desk.wait_idle());
    QCOMPARE(desk.stopped_at(), 2);
}

void TFEditorTest::a_compile_error_returns_to_the_text() {
    Desk desk;
    desk.set_program({"a = 1", "print"});
    QCOMPARE(desk.press("BStep"), (QStringList{"parse error in print (line=1)", "Sintax error line=1"}));
    QCOMPARE(desk.editor->state(), State::Editing);
    QVERIFY(desk.medit->isVisible());
}

void TFEditorTest::line_label_follows_the_caret_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("shown");
    QTest::newRow("after the last character of 4 lines") << QString("a = 1\nb = 2\nc = 3\nprint a") << 25 << "4";
    QTest::newRow("start of line 2") << QString("a = 1\nb = 2") << 6 << "2";
    const QString long_text = QString(QString(299, u'x') + u'\n').repeated(200);
    QTest::newRow("beyond the 32000th character") << long_text << 39000 << "107";
}

void TFEditorTest::line_label_follows_the_caret() {
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(QString, shown);
    Desk desk;
    desk.medit->setPlainText(text);
    QTextCursor cursor = desk.medit->textCursor();
    cursor.setPosition(caret);
    desk.medit->setTextCursor(cursor);
    QCOMPARE(desk.labely->text(), shown);
    // Keys move it as well.
    QTest::keyClick(desk.medit, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(desk.labely->text(), QString("1"));
    QTest::keyClick(desk.medit, Qt::Key_Down);
    QCOMPARE(desk.labely->text(), QString("2"));
    QCOMPARE(desk.editor->caret_line(), 2);
}

void TFEditorTest::open_and_save_through_their_dialogs() {
    Desk desk;
    const QString folder = desk.folders.home();
    desk.set_program({"print \"saved\"", "x = 2"});
    auto save_answer = answer_file_dialog(folder + "/first");
    QTest::mouseClick(desk.button("BSave"), Qt::LeftButton);
    QVERIFY(save_answer->seen);
    QCOMPARE(save_answer->default_suffix, QString("prg"));
    QCOMPARE(desk.editor->file_name(), folder + "/first.prg");
    QFile saved(folder + "/first.prg");
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), QByteArray("print \"saved\"\r\nx = 2\r\n"));

    // The save dialog comes with the remembered name; cancelled, it writes
    // nothing.
    desk.set_program({"not saved"});
    auto again = answer_file_dialog(QString(), false);
    QTest::mouseClick(desk.button("BSave"), Qt::LeftButton);
    QVERIFY(again->seen);
    QCOMPARE(again->preset, QString("first.prg"));

    auto open_answer = answer_file_dialog(folder + "/first.prg");
    QTest::mouseClick(desk.button("BOpen"), Qt::LeftButton);
    QVERIFY(open_answer->seen);
    QCOMPARE(open_answer->default_suffix, QString("prg"));
    QCOMPARE(desk.medit->toPlainText(), QString("print \"saved\"\nx = 2"));
    QCOMPARE(desk.press("Brun"), QStringList{"saved"});
}

void TFEditorTest::files_that_are_not_text_are_refused_with_a_message_data() {
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("reason");
    QTest::newRow("binary") << QByteArray("print 1\r\n\x01\x02\x03\0", 13) << "not a program text";
    QTest::newRow("long line") << (QByteArray("print 1\r\n") + QByteArray(5000, 'x')) << "longer than 2048";
}

void TFEditorTest::files_that_are_not_text_are_refused_with_a_message() {
    QFETCH(QByteArray, contents);
    QFETCH(QString, reason);
    Desk desk;
    const QString path = desk.folders.home() + "/bad.prg";
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
    file.close();
    desk.set_program({"kept"});
    auto message = catch_message_box();
    QVERIFY(!desk.editor->open_file(path));
    QVERIFY2(message->contains(reason), qPrintable(*message));
    QVERIFY(message->contains(path));
    QCOMPARE(desk.medit->toPlainText(), QString("kept"));
    QCOMPARE(desk.editor->file_name(), QString());
}

void TFEditorTest::file_errors_are_reported_in_message_boxes() {
    Desk desk;
    desk.set_program({"kept"});
    auto missing = catch_message_box();
    QVERIFY(!desk.editor->open_file(desk.folders.home() + "/missing.prg"));
    QVERIFY2(missing->contains("missing.prg"), qPrintable(*missing));
    auto unwritable = catch_message_box();
    QVERIFY(!desk.editor->save_file(desk.folders.home() + "/no/folder/p.prg"));
    QVERIFY2(unwritable->contains("cannot be saved"), qPrintable(*unwritable));
    QCOMPARE(desk.medit->toPlainText(), QString("kept"));
    QCOMPARE(desk.editor->file_name(), QString());
}

void TFEditorTest::the_text_is_coloured_and_numbered() {
    Desk desk;
    desk.set_program({"for i = 1 to 3 // loop", "print \"x\", sin(i)", "next"});
    const ProgramHighlighter* highlighter = desk.medit->highlighter();
    // The colour of the character at `column` of line `block`.
    auto colour_at = [&](int block, int column) {
        const QTextBlock text_block = desk.medit->document()->findBlockByNumber(block);
        for (const QTextLayout::FormatRange& range : text_block.layout()->formats()) {
            if (column >= range.start && column < range.start + range.length) return range.format.foreground().color();
        }
        return QColor();
    };
    const QColor keyword = highlighter->format_of(SyntaxSpan::Kind::Keyword).foreground().color();
    QCOMPARE(colour_at(0, 0), keyword);  // for
    QCOMPARE(colour_at(0, 8), highlighter->format_of(SyntaxSpan::Kind::Number).foreground().color());
    QCOMPARE(colour_at(0, 17), highlighter->format_of(SyntaxSpan::Kind::Comment).foreground().color());
    QCOMPARE(colour_at(1, 7), highlighter->format_of(SyntaxSpan::Kind::String).foreground().color());
    QCOMPARE(colour_at(1, 11), highlighter->format_of(SyntaxSpan::Kind::Builtin).foreground().color());
    QCOMPARE(colour_at(2, 0), keyword);  // next
    QCOMPARE(colour_at(1, 0), keyword);  // print
    QVERIFY(!colour_at(0, 4).isValid());  // i is not coloured
    QVERIFY(keyword != highlighter->format_of(SyntaxSpan::Kind::String).foreground().color());

    QWidget* margin = desk.medit->line_number_area();
    QVERIFY(margin->isVisible());
    QVERIFY(margin->width() > 0);
    QCOMPARE(desk.medit->viewport()->x(), margin->x() + margin->width());
    const QImage shot = desk.medit->grab().toImage();
    QVERIFY(!shot.isNull());
}

void TFEditorTest::a_debugging_session_through_a_thirty_line_program() {
    const QStringList program{
        "// squares summed in a loop, a subroutine and a function",  // 1
        "function sq(x)",                                              // 2
        "  sq = x * x",                                                // 3
        "endfn",                                                       // 4
        "total = 0",                                                   // 5
        "for i = 1 to 3",                                              // 6
        "  total = total + sq(i)",                                     // 7
        "next",                                                        // 8
        "gosub show",                                                  // 9
        "goto done",                                                   // 10
        "label show",                                                  // 11
        "  print \"total \", total",                                   // 12
        "  return",                                                    // 13
        "label done",                                                  // 14
        "if total > 10 then",                                          // 15
        "  msg = \"big\"",                                             // 16
        "else",                                                        // 17
        "  msg = \"small\"",                                           // 18
        "endif",                                                       // 19
        "n = 0",                                                       // 20
        "while n < 2 do",                                              // 21
        "  n = n + 1",                                                 // 22
        "endwhile",                                                    // 23
        "repeat",                                                      // 24
        "  n = n - 1",                                                 // 25
        "until n = 0",                                                 // 26
        "s = sq(4)",                                                   // 27
        "print msg, \" \", s",                                         // 28
        "x = 1",                                                       // 29
        "print \"end\"",                                               // 30
    };
    QCOMPARE(program.size(), 30);
    struct Press {
        const char* button;
        int picked_line;  // for runTo: the line picked in the list
        int stop;         // the line stopped at, 0 when the program ended
    };
    const Press presses[] = {
        {"BStep", 0, 2},       {"BStep", 0, 5},       {"BStep", 0, 6},       {"BStep", 0, 7},
        {"BStepInto", 0, 3},   {"BStep", 0, 4},       {"BStep", 0, 8},       {"BStep", 0, 7},
        {"BStep", 0, 8},       {"BStep", 0, 7},       {"BStep", 0, 8},       {"BStep", 0, 9},
        {"BStepInto", 0, 12},  {"BStep", 0, 13},      {"BStep", 0, 10},      {"BRunTo", 22, 22},
        {"BStep", 0, 23},      {"BStep", 0, 22},      {"BRunTo", 26, 26},    {"BStep", 0, 25},
        {"BStep", 0, 26},      {"BStep", 0, 27},      {"BStep", 0, 28},      {"BStep", 0, 29},
        {"BStep", 0, 30},      {"BStep", 0, 0},
    };
    Desk desk;
    desk.set_program(program);
    const qsizetype pane_start = desk.memo->lines().size();
    int count = 0;
    for (const Press& press : presses) {
        ++count;
        const QString where = QString("press %1 (%2)").arg(count).arg(press.button);
        if (press.picked_line > 0) desk.list->setCurrentRow(press.picked_line - 1);
        const QStringList printed = desk.press(press.button);
        QVERIFY2(!printed.contains("<still running>"), qPrintable(where));
        QCOMPARE(desk.stopped_at(), press.stop);
        if (press.stop == 0) break;
        QVERIFY2(printed.endsWith(QString("[line %1]").arg(press.stop)), qPrintable(where + ": " + printed.join('|')));
        QCOMPARE(desk.list->currentRow(), press.stop - 1);
        QCOMPARE(desk.editor->current_row(), press.stop - 1);
        QCOMPARE(desk.editor->state(), State::DebugPaused);
    }
    QCOMPARE(desk.editor->state(), State::Ended);
    QStringList output;
    for (const QString& line : desk.memo->lines().mid(pane_start)) {
        if (!line.startsWith("[line ")) output.append(line);
    }
    QCOMPARE(output, (QStringList{"total 14", "big 16", "end"}));
    QCOMPARE(desk.type("print n, x"), (QStringList{">> print n, x", "01"}));
}

void TFEditorTest::a_long_debugged_run_keeps_the_window_responsive() {
    Desk desk;
    // runTo a line the program never reaches: every pass of the loop prints
    // its markers and moves the list's selection.
    desk.set_program({"s = 0", "for i = 1 to 20000", "  s = s + i", "next", "if s < 0 then", "  never = 1", "endif",
                      "print s"});
    desk.put_caret(5);
    test::EventLoopGaps gaps;
    gaps.start();
    const QStringList printed = desk.press("BRunTo");
    gaps.stop();
    qInfo("40000 markers in %lld ms; the event loop worked for at most %lld ms at a time",
          static_cast<long long>(gaps.elapsed()), static_cast<long long>(gaps.longest()));
    QVERIFY(!printed.contains("<still running>"));
    QCOMPARE(desk.memo->lines().back(), QString("200010000"));
    QCOMPARE(desk.editor->state(), State::Ended);
    QCOMPARE(desk.list->currentRow(), 7);
    QVERIFY2(gaps.longest() < 150, qPrintable(QString("event loop worked for %1 ms at a time").arg(gaps.longest())));
}

void TFEditorTest::screenshot_of_the_debug_view() {
    Desk desk;
    desk.editor->resize(420, 260);
    desk.set_program({
        "// sum of squares",
        "function sq(x)",
        "  sq = x * x",
        "endfn",
        "total = 0",
        "for i = 1 to 4",
        "  total = total + sq(i)",
        "next",
        "print \"total \", total",
    });
    desk.put_caret(6);
    desk.press("BRunTo");
    desk.press("BStep");
    desk.press("BStep");
    QCOMPARE(desk.stopped_at(), 7);
    // The user picks another line for the next runTo: the stop line keeps
    // its mark.
    desk.list->setCurrentRow(8);
    QCOMPARE(desk.type("total"), QStringList{"1"});
    const QImage shot = desk.editor->grab().toImage();
    const QString path = QStringLiteral(OSTRAC_TEST_OUTPUT_DIR "/editor.png");
    QVERIFY(shot.save(path));
    qInfo("screenshot saved as %s", qPrintable(path));
    const QRect item = desk.list->visualItemRect(desk.list->item(6));
    const QPoint inside = desk.list->viewport()->mapTo(desk.editor, QPoint(item.right() - 2, item.center().y()));
    QCOMPARE(shot.pixelColor(inside * shot.devicePixelRatio()), QColor(0xFF, 0xFF, 0x80));
}

QTEST_MAIN(TFEditorTest)
#include "tfeditor_test.moc"
