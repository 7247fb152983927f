// The console window driven as a person would: typing and pasting into
// Edit1, pressing Enter, Up and Down, clicking the mode labels and the
// buttons, quitting and starting again, and reading Memo1 and LEntry.
#include <QAbstractSeries>
#include <QApplication>
#include <QBarSeries>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLegend>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>
#include <chrono>
#include <csignal>
#include <ctime>
#include <functional>
#include <memory>
#include <thread>

#include "chart/tfgraph.h"
#include "common/clickable_label.h"
#include "console/entry_field.h"
#include "console/help_window.h"
#include "console/output_pane.h"
#include "console/pane_menu.h"
#include "console/paste_feeder.h"
#include "console/tform1.h"
#include "console_test_support.h"
#include "editor/tfeditor.h"
#include "options/toptions.h"
#include "ui_test_support.h"
#include "wizard/tfwizard.h"

using ostrac::session::RunState;
using namespace ostrac::ui;

namespace {

using test::Console;

// Pastes the text into the entry field with Ctrl+V.
void paste(Console& console, const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(console.edit, Qt::Key_V, Qt::ControlModifier);
}

PasteFeeder* feeder(Console& console) { return console.edit->findChild<PasteFeeder*>(); }

// The console's controls where they were designed.
constexpr test::DesignedPlace designed_places[] = {
    {"Label1", {9, 6, 30, 13}},     {"Lmode", {41, 6, 36, 13}},   {"Label2", {8, 24, 30, 13}},
    {"Lvmode", {41, 24, 36, 13}},   {"B_Edit", {2, 41, 38, 22}},  {"B_graph", {40, 41, 39, 22}},
    {"BBreak", {2, 64, 38, 22}},    {"Label3", {5, 87, 30, 13}},  {"BLoad1", {4, 101, 36, 22}},
    {"Bsave2", {39, 101, 40, 22}},  {"BOptions", {4, 126, 37, 24}}, {"BAyuda", {41, 126, 37, 24}},
    {"Button1", {4, 152, 21, 17}},  {"SpeedButton1", {29, 152, 23, 17}},
    // The prompt label spans the panel's width, its text right-aligned
    // where the designed label (57, 160, 16, 16) ends.
    {"LEntry", {0, 160, 77, 16}},
    {"Memo1", {77, 0, 375, 161}},   {"Edit1", {77, 161, 375, 23}},
};

// Something the user does that opens a window or dialog.
using Action = std::function<void(Console&)>;

void click(const Console& console, const char* name) {
    QTest::mouseClick(console.form->findChild<QAbstractButton*>(name), Qt::LeftButton);
}

}  // namespace

Q_DECLARE_METATYPE(Action)

class TForm1Test : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void controls_have_their_designed_place_and_text_data();
    void controls_have_their_designed_place_and_text();
    void start_up_greets_and_applies_the_stored_colours();
    void a_typed_command_echoes_and_prints_its_result_data();
    void a_typed_command_echoes_and_prints_its_result();
    void an_input_prompt_shows_in_lentry_and_takes_the_answer_data();
    void an_input_prompt_shows_in_lentry_and_takes_the_answer();
    void history_keeps_the_last_ten_commands();
    void lmode_cycles_the_angle_unit_that_programs_read();
    void lvmode_toggles_the_coordinate_mode();
    void five_hundred_and_one_lines_leave_401();
    void clearing_fills_the_pane_with_blank_lines();
    void typed_fcls_clears_the_pane();
    void save_then_load_restores_pane_and_variables();
    void the_state_buttons_show_their_outcome_at_once_data();
    void the_state_buttons_show_their_outcome_at_once();
    void load_without_memo_bin_reports_it_in_a_message_box();
    void load_and_save_wait_for_a_waiting_input();
    void break_stops_an_endless_loop();
    void break_stops_a_long_builtin();
    void enter_while_running_keeps_the_entry_text();
    void an_idle_console_uses_no_processor_time();
    void hundred_thousand_lines_finish_and_keep_the_window_responsive();
    void break_during_a_flood_of_lines_shows_at_once();
    void resizing_follows_the_window();
    void a_small_console_keeps_its_controls_whole_and_the_newest_line_in_view();
    void a_minimised_window_comes_back_data();
    void a_minimised_window_comes_back();
    void every_dialog_opens_above_the_windows_on_top_data();
    void every_dialog_opens_above_the_windows_on_top();
    void help_shows_the_installed_help_file();
    void the_about_box_names_the_program();
    void screenshot_of_a_short_session();
    void graph_commands_draw_in_the_graph_window();
    void a_thousand_redraws_neither_leak_nor_freeze();
    void the_session_is_kept_across_a_restart_data();
    void the_session_is_kept_across_a_restart();
    void a_broken_autosave_is_set_aside();
    void the_history_is_kept_across_a_restart();
    void pasted_lines_run_in_order_data();
    void pasted_lines_run_in_order();
    void break_drops_the_pasted_lines_left();
    void ten_thousand_pasted_lines_keep_the_window_responsive();
    void copy_value_of_ans_data();
    void copy_value_of_ans();
    void the_display_tab_changes_how_numbers_show_data();
    void the_display_tab_changes_how_numbers_show();
};

void TForm1Test::controls_have_their_designed_place_and_text_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("Label1") << "Label1" << "angle:";
    QTest::newRow("Label2") << "Label2" << "coord:";
    QTest::newRow("Label3") << "Label3" << "State";
    QTest::newRow("B_Edit") << "B_Edit" << "Editor";
    QTest::newRow("B_graph") << "B_graph" << "Graph";
    QTest::newRow("BBreak") << "BBreak" << "Break";
    QTest::newRow("BLoad1") << "BLoad1" << "Load";
    QTest::newRow("Bsave2") << "Bsave2" << "Save";
    QTest::newRow("BOptions") << "BOptions" << "Option";
    QTest::newRow("BAyuda") << "BAyuda" << "Help";
    QTest::newRow("Button1") << "Button1" << "?";
    QTest::newRow("SpeedButton1") << "SpeedButton1" << "Fx ...";
}

void TForm1Test::controls_have_their_designed_place_and_text() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    Console console;
    auto* control = console.control<QWidget>(qPrintable(name));
    QVERIFY(control != nullptr);
    const auto* label = qobject_cast<QLabel*>(control);
    QCOMPARE(label != nullptr ? label->text() : static_cast<QAbstractButton*>(control)->text(), text);
    QVERIFY(control->isEnabled());
    const QStringList faults = test::arrangement_faults(console.form.get(), designed_places);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    // The designed size is the least the window opens with.
    QVERIFY(console.form->width() >= 455 && console.form->height() >= 184);
}

void TForm1Test::start_up_greets_and_applies_the_stored_colours() {
    Console console;
    QCOMPARE(console.form->windowTitle(), QString("Ostrac Calculator"));
    const QStringList lines = console.memo->lines();
    QVERIFY(lines.contains("Ostrac initialized ok"));
    QCOMPARE(lines.back(), QString("Type load \"tutorial\" to see the tutorial"));
    QCOMPARE(console.prompt->text(), QString(">>"));
    QCOMPARE(console.control<QLabel>("Lmode")->text(), QString("RAD  "));
    QCOMPARE(console.control<QLabel>("Lvmode")->text(), QString("RECT  "));
    QCOMPARE(console.memo->palette().color(QPalette::Base), QColor(0x40, 0x50, 0xC0));
    QCOMPARE(console.edit->palette().color(QPalette::Base), QColor(0x40, 0x40, 0xD0));
    QCOMPARE(console.edit->palette().color(QPalette::Text), QColor(Qt::white));
    QCOMPARE(console.form->focusWidget(), console.edit);
}

void TForm1Test::a_typed_command_echoes_and_prints_its_result_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("print") << "print 5" << QStringList{">> print 5", "5"};
    QTest::newRow("expression") << "2" << QStringList{">> 2", "2"};
    QTest::newRow("empty line echoes") << "" << QStringList{">> "};
    QTest::newRow("syntax error") << "print" << QStringList{">> print", "parse error in print (line=0)", "Sintax error line=0"};
    QTest::newRow("loop") << "for i = 1 to 3: print i: next" << QStringList{">> for i = 1 to 3: print i: next", "1", "2", "3"};
}

void TForm1Test::a_typed_command_echoes_and_prints_its_result() {
    QFETCH(QString, line);
    QFETCH(QStringList, expected);
    Console console;
    QCOMPARE(console.command(line), expected);
    QCOMPARE(console.edit->text(), QString());
}

void TForm1Test::an_input_prompt_shows_in_lentry_and_takes_the_answer_data() {
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("prompt");  // empty: too long to show whole
    QTest::addColumn<QString>("answer");
    QTest::newRow("short name") << "a" << "2" << "a[2]?" << "7";
    QTest::newRow("distance") << "distance" << "0" << "distance[0]?" << "7";
    QTest::newRow("longest name and number") << "abcdefghij" << "-1.2345e-100" << "abcdefghij[-1.234e-100]?" << "7";
    QTest::newRow("long string") << "s" << QString("\"%1\"").arg(QString(200, 'x')) << "" << "\"7\"";
}

void TForm1Test::an_input_prompt_shows_in_lentry_and_takes_the_answer() {
    QFETCH(QString, variable);
    QFETCH(QString, value);
    QFETCH(QString, prompt);
    QFETCH(QString, answer);
    Console console;
    console.command(variable + " = " + value);
    QCOMPARE(console.command("input " + variable), QStringList{">> input " + variable});
    const QString full = QStringLiteral("%1[%2]?").arg(variable, value.startsWith('"') ? value.mid(1, 200) : value);
    QLabel* label = console.prompt;
    if (prompt.isEmpty()) {
        // Elided in the middle, whole in its tooltip.
        QVERIFY2(label->text().startsWith(variable + "[x") && label->text().endsWith("x]?") &&
                     label->text().contains(QChar(0x2026)),
                 qPrintable(label->text()));
        QCOMPARE(label->toolTip(), full);
    } else {
        QCOMPARE(label->text(), prompt);
    }
    // Readable in full: inside the window, wide enough, clear of the entry,
    // which keeps room for the answer.
    QVERIFY(label->mapTo(console.form.get(), QPoint(0, 0)).x() >= 0);
    QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->contentsRect().width());
    QVERIFY(label->geometry().right() < console.edit->geometry().left());
    QVERIFY(console.edit->width() >= console.form->width() / 4);
    QCOMPARE(console.command(answer), QStringList{">> " + answer});
    QCOMPARE(label->text(), QString(">>"));
    QCOMPARE(console.command("print " + variable), (QStringList{">> print " + variable, "7"}));
    QCOMPARE(console.edit->history().slot(1), answer);
}

void TForm1Test::history_keeps_the_last_ten_commands() {
    Console console;
    for (int i = 1; i <= 11; ++i) console.command(QString("x%1 = %1").arg(i));
    for (int i = 0; i < 10; ++i) QCOMPARE(console.edit->history().slot(i), QString("x%1 = %1").arg(11 - i));
    for (int i = 0; i < 10; ++i) {
        QTest::keyClick(console.edit, Qt::Key_Up);
        QCOMPARE(console.edit->text(), QString("x%1 = %1").arg(11 - i));
    }
    QTest::keyClick(console.edit, Qt::Key_Up);
    QCOMPARE(console.edit->text(), QString("x2 = 2"));
}

void TForm1Test::lmode_cycles_the_angle_unit_that_programs_read() {
    Console console;
    auto* lmode = console.control<ClickableLabel>("Lmode");
    const QStringList texts{"DEG  ", "GRAD ", "RAD  "};
    for (int click = 0; click < 3; ++click) {
        QTest::mouseClick(lmode, Qt::LeftButton);
        console.wait_idle();
        QCOMPARE(lmode->text(), texts[click]);
        QCOMPARE(console.command("print sysangle"), (QStringList{">> print sysangle", QString::number((click + 1) % 3)}));
    }
}

void TForm1Test::lvmode_toggles_the_coordinate_mode() {
    Console console;
    auto* lvmode = console.control<ClickableLabel>("Lvmode");
    QTest::mouseClick(lvmode, Qt::LeftButton);
    console.wait_idle();
    QCOMPARE(lvmode->text(), QString("POLAR  "));
    QCOMPARE(console.command("print syscoord"), (QStringList{">> print syscoord", "1"}));
    QTest::mouseClick(lvmode, Qt::LeftButton);
    console.wait_idle();
    QCOMPARE(lvmode->text(), QString("RECT  "));
}

void TForm1Test::five_hundred_and_one_lines_leave_401() {
    Console console;
    console.memo->set_lines({});
    // The echo and 500 printed lines make 501.
    console.type("for i = 1 to 500: print i: next");
    QVERIFY(console.wait_idle());
    QCOMPARE(console.memo->line_count(), 401);
    QCOMPARE(console.memo->lines().front(), QString("100"));
    QCOMPARE(console.memo->lines().back(), QString("500"));
}

void TForm1Test::clearing_fills_the_pane_with_blank_lines() {
    Console console;
    {
        // The host call of the fcls command, as the worker makes it.
        auto access = console.form->session_access();
        access.session().host.clear_console();
    }
    console.form->drain_events();
    QCOMPARE(console.memo->lines(), QStringList(console.memo->height() / 8, " "));
}

void TForm1Test::typed_fcls_clears_the_pane() {
    Console console;
    console.type("fcls(0)");
    QVERIFY(console.wait_idle());
    // The blank lines, then the command's argument shown as its value.
    QCOMPARE(console.memo->lines(), QStringList(console.memo->height() / 8, " ") + QStringList{"0"});
}

void TForm1Test::save_then_load_restores_pane_and_variables() {
    Console console;
    console.command("x = 42");
    console.command("print x");
    const QStringList saved_pane = console.memo->lines();
    QTest::mouseClick(console.control<QAbstractButton>("Bsave2"), Qt::LeftButton);
    QCOMPARE(console.memo->lines().back(), QString("State Saved."));
    QVERIFY(QFile::exists(console.folders.home() + "/data.bin"));
    QVERIFY(QFile::exists(console.folders.home() + "/memo.bin"));
    console.command("x = 1");
    QTest::mouseClick(console.control<QAbstractButton>("BLoad1"), Qt::LeftButton);
    QCOMPARE(console.memo->lines(), saved_pane + QStringList{"State Loaded."});
    QCOMPARE(console.command("print x"), (QStringList{">> print x", "42"}));
}

void TForm1Test::the_state_buttons_show_their_outcome_at_once_data() {
    QTest::addColumn<QStringList>("presses");
    QTest::addColumn<bool>("home_missing");
    QTest::addColumn<QStringList>("expected");
    const QString unreadable = "Imposible abrir fichero de estado line=0";
    QTest::newRow("Load without data.bin") << QStringList{"BLoad1"} << false << QStringList{unreadable};
    QTest::newRow("Load twice") << QStringList{"BLoad1", "BLoad1"} << false << QStringList{unreadable, unreadable};
    QTest::newRow("Save into a missing home folder")
        << QStringList{"Bsave2"} << true << QStringList{"Imposible guardar fichero de estado line=0"};
    QTest::newRow("Save") << QStringList{"Bsave2"} << false << QStringList{"State Saved."};
}

void TForm1Test::the_state_buttons_show_their_outcome_at_once() {
    QFETCH(QStringList, presses);
    QFETCH(bool, home_missing);
    QFETCH(QStringList, expected);
    Console console;
    if (home_missing) QVERIFY(QDir(console.folders.home()).removeRecursively());
    const QStringList before = console.memo->lines();
    for (const QString& press : presses) click(console, qPrintable(press));
    // Shown before anything else happens, without waiting for the next command.
    QCOMPARE(console.memo->lines(), before + expected);
    QCOMPARE(console.form->run_state(), RunState::Idle);
}

void TForm1Test::load_without_memo_bin_reports_it_in_a_message_box() {
    Console console;
    QTest::mouseClick(console.control<QAbstractButton>("Bsave2"), Qt::LeftButton);
    QVERIFY(QFile::remove(console.folders.home() + "/memo.bin"));
    const QStringList before = console.memo->lines();
    QString message;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            message = box->text();
            box->close();
        }
    });
    QTest::mouseClick(console.control<QAbstractButton>("BLoad1"), Qt::LeftButton);
    QVERIFY2(message.contains(console.folders.home() + "/memo.bin"), qPrintable(message));
    console.wait_idle();
    QCOMPARE(console.memo->lines(), before);
}

void TForm1Test::load_and_save_wait_for_a_waiting_input() {
    Console console;
    console.command("input a");
    QVERIFY(!console.control<QAbstractButton>("BLoad1")->isEnabled());
    QVERIFY(!console.control<QAbstractButton>("Bsave2")->isEnabled());
    console.command("1");
    QVERIFY(console.control<QAbstractButton>("BLoad1")->isEnabled());
    QVERIFY(console.control<QAbstractButton>("Bsave2")->isEnabled());
}

void TForm1Test::break_stops_an_endless_loop() {
    Console console;
    QSignalSpy editor_resets(console.form.get(), &TForm1::editorReset);
    console.type("while 1 do endwhile");
    QTest::qWait(50);
    QCOMPARE(console.form->run_state(), RunState::Running);
    QVERIFY(!console.control<QAbstractButton>("BLoad1")->isEnabled());
    QVERIFY(!console.control<QAbstractButton>("Bsave2")->isEnabled());
    QTest::mouseClick(console.control<QToolButton>("BBreak"), Qt::LeftButton);
    QVERIFY(console.wait_idle(1000));
    QCOMPARE(console.memo->lines().back(), QString("User Halted!"));
    QVERIFY(console.control<QAbstractButton>("BLoad1")->isEnabled());
    // The reset after a Break reaches the program editor's side as well.
    QCOMPARE(editor_resets.count(), 1);
}

void TForm1Test::break_stops_a_long_builtin() {
    Console console;
    console.command("m = [1]: m(2000, 2000) = 1: for i = 1 to 1999: m(i, i) = 1: next");
    console.type("x = INV(m)");  // seconds of work, in one instruction
    QTest::qWait(100);
    QElapsedTimer latency;
    latency.start();
    QTest::mouseClick(console.control<QToolButton>("BBreak"), Qt::LeftButton);
    QVERIFY(console.wait_idle(20000));
    qInfo("Break inside INV honoured after %lld ms", static_cast<long long>(latency.elapsed()));
    QCOMPARE(console.memo->lines().back(), QString("User Halted!"));
    QVERIFY2(latency.elapsed() < 2000, qPrintable(QString("Break took %1 ms").arg(latency.elapsed())));
}

void TForm1Test::enter_while_running_keeps_the_entry_text() {
    Console console;
    console.type("while 1 do endwhile");
    QTest::qWait(20);
    console.type("print 1");
    QCOMPARE(console.edit->text(), QString("print 1"));
    QCOMPARE(console.edit->history().slot(0), QString("while 1 do endwhile"));
    QTest::mouseClick(console.control<QToolButton>("BBreak"), Qt::LeftButton);
    QVERIFY(console.wait_idle(1000));
}

void TForm1Test::an_idle_console_uses_no_processor_time() {
    Console console;
    console.command("for i = 1 to 100: print i: next");
    QVERIFY(!console.form->polling());
    timespec start{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &start);
    QTest::qWait(1000);
    timespec end{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &end);
    const double used = static_cast<double>(end.tv_sec - start.tv_sec) + static_cast<double>(end.tv_nsec - start.tv_nsec) / 1e9;
    qInfo("processor time of the idle console over 1 s: %.4f s", used);
    QVERIFY2(used < 0.05, qPrintable(QString("the idle console used %1 s").arg(used)));
}

void TForm1Test::hundred_thousand_lines_finish_and_keep_the_window_responsive() {
    Console console;
    test::EventLoopGaps gaps;
    console.type("for i = 1 to 100000: print i: next");
    // The window's thread is held while the worker prints, as a busy machine
    // would hold it: the output meets the window as one large backlog.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    gaps.start();
    QVERIFY(console.wait_idle(120000));
    gaps.stop();
    qInfo("100000 lines in %lld ms; the event loop worked for at most %lld ms at a time",
          static_cast<long long>(gaps.elapsed()), static_cast<long long>(gaps.longest()));
    QCOMPARE(console.memo->lines().back(), QString("100000"));
    QVERIFY(console.memo->line_count() <= OutputPane::max_lines);
    QVERIFY2(gaps.longest() < 100, qPrintable(QString("event loop worked for %1 ms at a time").arg(gaps.longest())));
}

void TForm1Test::break_during_a_flood_of_lines_shows_at_once() {
    Console console;
    // Far more lines than can be printed before the Break, whatever the
    // build's speed: the Break always lands in the middle of the flood.
    console.type("for i = 1 to 100000000: print i: next");
    QTest::qWait(100);
    QCOMPARE(console.form->run_state(), RunState::Running);
    QElapsedTimer latency;
    latency.start();
    QTest::mouseClick(console.control<QToolButton>("BBreak"), Qt::LeftButton);
    while (console.memo->lines().back() != "User Halted!" && latency.elapsed() < 10000) QTest::qWait(1);
    const qint64 elapsed = latency.elapsed();
    qInfo("Break shown in the pane after %lld ms", static_cast<long long>(elapsed));
    QCOMPARE(console.memo->lines().back(), QString("User Halted!"));
    // Typically 10 to 40 ms. A Break queued behind the flood's backlog would
    // take many seconds; the margin is for a machine busy with other work.
    QVERIFY2(elapsed < 2000, qPrintable(QString("Break took %1 ms").arg(elapsed)));
    QVERIFY(console.wait_idle(1000));
}

void TForm1Test::resizing_follows_the_window() {
    Console console;
    console.form->resize(600, 300);
    QTRY_COMPARE(console.form->size(), QSize(600, 300));
    // The pane and the entry take the room right of the panel; the entry
    // stays at the bottom under the pane, the prompt beside it.
    QCOMPARE(console.memo->geometry().right(), 599);
    QCOMPARE(console.edit->geometry().right(), 599);
    QCOMPARE(console.edit->geometry().bottom(), 299);
    QCOMPARE(console.memo->geometry().bottom() + 1, console.edit->y());
    QCOMPARE(console.memo->x(), console.panel->geometry().right() + 1);
    QCOMPARE(console.edit->x(), console.memo->x());
    QCOMPARE(console.prompt->geometry().center().y(), console.edit->geometry().center().y());
}

void TForm1Test::a_small_console_keeps_its_controls_whole_and_the_newest_line_in_view() {
    Console console;
    console.form->resize(600, 400);
    QTest::qWait(20);
    console.command("for i = 1 to 60: print i: next");
    console.form->resize(250, 120);
    QTest::qWait(20);
    QVERIFY(console.form->width() > 250 || console.form->height() > 120);
    for (const QAbstractButton* button : console.panel->findChildren<QAbstractButton*>()) {
        QCOMPARE(button->visibleRegion().boundingRect(), button->rect());
        const QRect at(button->mapTo(console.form.get(), QPoint(0, 0)), button->size());
        QVERIFY(!at.intersects(console.prompt->geometry()));
    }
    QVERIFY(console.memo->height() >= 3 * console.memo->fontMetrics().height());
    const QScrollBar* scroll = console.memo->verticalScrollBar();
    QCOMPARE(scroll->value(), scroll->maximum());
}

void TForm1Test::a_minimised_window_comes_back_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<Action>("action");
    QTest::newRow("Editor") << "FEditor" << Action([](Console& c) { click(c, "B_Edit"); });
    QTest::newRow("Graph") << "TFGraph" << Action([](Console& c) { click(c, "B_graph"); });
    QTest::newRow("Fx ...") << "FWizard" << Action([](Console& c) { click(c, "SpeedButton1"); });
    QTest::newRow("F1") << "FWizard" << Action([](Console& c) {
        c.edit->setText("sin(1)");
        c.edit->setCursorPosition(1);
        QTest::keyClick(c.edit, Qt::Key_F1);
    });
    QTest::newRow("Option") << "TOptions" << Action([](Console& c) { click(c, "BOptions"); });
    QTest::newRow("Help") << "HelpWindow" << Action([](Console& c) { click(c, "BAyuda"); });
}

void TForm1Test::a_minimised_window_comes_back() {
    QFETCH(QString, window);
    QFETCH(Action, action);
    Console console;
    auto* shown = console.form->findChild<QWidget*>(window);
    shown->showMinimized();
    QVERIFY(shown->isMinimized());
    action(console);
    QVERIFY(shown->isVisible());
    QVERIFY(!shown->isMinimized());
    QTRY_VERIFY(shown->isActiveWindow());
}

void TForm1Test::every_dialog_opens_above_the_windows_on_top_data() {
    QTest::addColumn<Action>("action");
    QTest::newRow("about box") << Action([](Console& c) { click(c, "Button1"); });
    QTest::newRow("console's message box") << Action([](Console& c) {
        click(c, "Bsave2");
        QFile::remove(c.folders.home() + "/memo.bin");
        click(c, "BLoad1");
    });
    QTest::newRow("options dialog") << Action([](Console& c) { click(c, "BOptions"); });
    QTest::newRow("colour dialog") << Action([](Console& c) {
        click(c, "BOptions");
        c.form->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
        QTest::mouseClick(c.form->findChild<QWidget*>("PMemo"), Qt::LeftButton);
    });
    QTest::newRow("options' message box") << Action([](Console& c) {
        click(c, "BOptions");
        c.form->findChild<QLineEdit*>("E_path")->setText(QString(60, 'p'));
        click(c, "B_Addpath");
    });
    QTest::newRow("editor's file dialog") << Action([](Console& c) {
        click(c, "B_Edit");
        click(c, "BOpen");
    });
    QTest::newRow("editor's message box") << Action([](Console& c) {
        click(c, "B_Edit");
        c.form->editor_window()->open_file(c.folders.home() + "/missing.prg");
    });
    QTest::newRow("wizard's message box") << Action([](Console& c) {
        click(c, "SpeedButton1");
        TFWizard* wizard = c.form->wizard_window();
        auto* tree = wizard->findChild<QTreeWidget*>("TreeFn");
        tree->setCurrentItem(tree->findItems("sin(z)", Qt::MatchExactly | Qt::MatchRecursive).front());
        wizard->findChild<QLineEdit*>("Ep1")->setText(QString(300, '1'));
        QTest::mouseClick(wizard->findChild<QAbstractButton*>("SpeedButton1"), Qt::LeftButton);
    });
}

// The editor, graph and wizard windows stay on top of the others; a dialog
// over them must stay on top as well, or it opens hidden under them.
void TForm1Test::every_dialog_opens_above_the_windows_on_top() {
    QFETCH(Action, action);
    Console console;
    for (const char* on_top : {"B_Edit", "B_graph", "SpeedButton1"}) click(console, on_top);
    QStringList seen;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) return;
        const bool active = QTest::qWaitFor([modal] { return modal->isActiveWindow(); }, 2000);
        seen.append(QStringLiteral("%1 on top %2 active %3")
                        .arg(modal->metaObject()->className())
                        .arg(modal->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
                        .arg(active));
        modal->close();
    });
    action(console);
    auto* options = console.form->findChild<TOptions*>("TOptions");
    if (seen.isEmpty()) {
        // The one dialog that is not modal.
        QVERIFY(options->isVisible());
        QVERIFY(options->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QTRY_VERIFY(options->isActiveWindow());
        return;
    }
    QCOMPARE(seen.size(), 1);
    QVERIFY2(seen.front().endsWith("on top 1 active 1"), qPrintable(seen.front()));
    // A modal box opened from the options dialog stays above it too.
    if (options->isVisible()) QVERIFY(options->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

void TForm1Test::help_shows_the_installed_help_file() {
    Console console;
    QVERIFY(QFile::exists(console.folders.home() + "/ostrac.html"));
    QTest::mouseClick(console.control<QToolButton>("BAyuda"), Qt::LeftButton);
    HelpWindow* help = console.form->help_window();
    QVERIFY(help->isVisible());
    QCOMPARE(help->browser()->source(), QUrl::fromLocalFile(console.folders.home() + "/ostrac.html"));
    QVERIFY(help->browser()->toPlainText().contains("Ostrac"));
}

void TForm1Test::the_about_box_names_the_program() {
    Console console;
    console.edit->setText("print 1");
    QString shown;
    QSizeF icon_size;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (box == nullptr) return;
        if (auto* text = box->findChild<QLabel*>("AboutText")) shown = text->text();
        if (auto* icon = box->findChild<QLabel*>("AboutIcon")) icon_size = icon->pixmap().deviceIndependentSize();
        box->close();
    });
    QTest::mouseClick(console.control<QAbstractButton>("Button1"), Qt::LeftButton);
    QVERIFY(shown.contains("Ostrac " OSTRAC_VERSION));
    // The program's icon, drawn from the SVG the program carries.
    QCOMPARE(icon_size, QSizeF(48, 48));
    QVERIFY(shown.contains("licence"));
    QVERIFY(shown.contains("report problems"));
    // Afterwards the entry has the focus with the caret at its start.
    QCOMPARE(console.form->focusWidget(), console.edit);
    QCOMPARE(console.edit->cursorPosition(), 0);
}

void TForm1Test::screenshot_of_a_short_session() {
    Console console;
    console.command("x = 6");
    console.command("print x");
    console.command("for i = 1 to 3: print i: next");
    console.edit->setText("print x");
    const QImage shot = console.form->grab().toImage();
    const QString path = QStringLiteral(OSTRAC_TEST_OUTPUT_DIR "/console.png");
    QVERIFY(shot.save(path));
    qInfo("screenshot saved as %s", qPrintable(path));
    QCOMPARE(shot.size(), console.form->size() * shot.devicePixelRatio());
    // The pane shows its stored background where no text is, and the panel
    // the palette's window colour.
    const QWidget* viewport = console.memo->viewport();
    const QPoint pane_point = viewport->mapTo(console.form.get(), QPoint(viewport->width() - 4, 2));
    QCOMPARE(shot.pixelColor(pane_point), QColor(0x40, 0x50, 0xC0));
    QCOMPARE(shot.pixelColor(QPoint(3, 178)), console.panel->palette().color(QPalette::Window));
}

void TForm1Test::graph_commands_draw_in_the_graph_window() {
    Console console;
    console.control<QToolButton>("B_graph")->click();
    TFGraph* graph = console.form->graph_window();
    QVERIFY(graph->isVisible());
    QCOMPARE(console.command("setserie(2, 2, \"bars\"): seriey(1, [1, 4, 9]): seriey(2, [3, 2, 1])"),
             QStringList{">> setserie(2, 2, \"bars\"): seriey(1, [1, 4, 9]): seriey(2, [3, 2, 1])"});
    const QList<QAbstractSeries*> series = graph->chart_view()->chart()->series();
    QCOMPARE(series.size(), 2);
    auto* line = qobject_cast<QLineSeries*>(series[0]);
    QVERIFY(line != nullptr);
    QCOMPARE(line->points(), (QList<QPointF>{{1, 1}, {2, 4}, {3, 9}}));
    auto* bars = qobject_cast<QBarSeries*>(series[1]);
    QVERIFY(bars != nullptr);
    QCOMPARE(bars->name(), QString("bars"));
    QVERIFY(graph->chart_view()->chart()->legend()->isVisible());

    console.command("titles(\"Main\", \"time\", \"size\")");
    QCOMPARE(graph->chart_view()->chart()->title(), QString("Main"));
}

void TForm1Test::a_thousand_redraws_neither_leak_nor_freeze() {
    Console console;
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(console.command("for k = 1 to 1000: seriey(1, [1, 2, k]): setserie(3, 1, \"p\"): seriey(3, [k, 1]): next"),
             QStringList{">> for k = 1 to 1000: seriey(1, [1, 2, k]): setserie(3, 1, \"p\"): seriey(3, [k, 1]): next"});
    QVERIFY2(timer.elapsed() < 20000, "the loop finished");
    TFGraph* graph = console.form->graph_window();
    // Only the slots of the last redraw are attached, and no series object
    // of the earlier redraws is left behind.
    QCOMPARE(graph->chart_view()->chart()->series().size(), 2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // Those two and the empty line that holds the axes of an empty chart.
    QCOMPARE(graph->chart_view()->chart()->findChildren<QAbstractSeries*>().size(), 3);
    auto* line = qobject_cast<QLineSeries*>(graph->chart_view()->chart()->series()[0]);
    QVERIFY(line != nullptr);
    QCOMPARE(line->points().last(), QPointF(3, 1000));
}

void TForm1Test::the_session_is_kept_across_a_restart_data() {
    QTest::addColumn<bool>("sigterm");  // else the window is closed
    QTest::addColumn<bool>("autosave");
    QTest::addColumn<QString>("left");  // a line still at work at quit
    QTest::addColumn<QStringList>("after");
    const QStringList kept{">> print x", "42"};
    QTest::newRow("closed") << false << true << "" << kept;
    QTest::newRow("closed while a program runs") << false << true << "while 1 do endwhile" << kept;
    QTest::newRow("closed while INPUT waits") << false << true << "input y" << kept;
    QTest::newRow("SIGTERM while a program runs") << true << true << "while 1 do endwhile" << kept;
    QTest::newRow("turned off") << false << false << "" << QStringList{">> print x", "0"};
}

void TForm1Test::the_session_is_kept_across_a_restart() {
    QFETCH(bool, sigterm);
    QFETCH(bool, autosave);
    QFETCH(QString, left);
    QFETCH(QStringList, after);
    Console console;
    if (!autosave) {
        console.folders.stored().setValue("Session/Autosave", false);
        console.restart();
        QVERIFY(QFile::remove(console.folders.home() + "/autosave.bin"));
    }
    console.command("x = 42");
    if (!left.isEmpty()) console.type(left);
    if (sigterm) {
        std::raise(SIGTERM);
        QTRY_VERIFY_WITH_TIMEOUT(!console.form->isVisible(), 20000);
    }
    console.restart();
    QCOMPARE(QFile::exists(console.folders.home() + "/autosave.bin"), autosave);
    QCOMPARE(console.command("print x"), after);
}

void TForm1Test::a_broken_autosave_is_set_aside() {
    Console console;
    console.form->close();
    console.form.reset();
    QFile broken(console.folders.home() + "/autosave.bin");
    QVERIFY(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("not a state file");
    broken.close();
    console.open();
    const QString reported = console.memo->lines().back();
    QVERIFY2(reported.startsWith("autosave.bin not loaded ("), qPrintable(reported));
    QVERIFY(QFile::exists(console.folders.home() + "/autosave.bin.broken"));
    QCOMPARE(console.command("print 1"), (QStringList{">> print 1", "1"}));
}

void TForm1Test::the_history_is_kept_across_a_restart() {
    Console console;
    for (const char* line : {"a = 1", "b = 2", "c = 3"}) console.command(line);
    console.restart();
    QCOMPARE(console.edit->history().slot(0), QString("c = 3"));
    QCOMPARE(console.edit->history().slot(2), QString("a = 1"));
    QTest::keyClick(console.edit, Qt::Key_Up);
    QCOMPARE(console.edit->text(), QString("c = 3"));
}

void TForm1Test::pasted_lines_run_in_order_data() {
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("left");  // in the entry field afterwards
    QTest::newRow("one line stays in the field") << "print 1" << QStringList{} << "print 1";
    QTest::newRow("two lines") << "x = 2\nprint x" << QStringList{">> x = 2", ">> print x", "2"} << "";
    QTest::newRow("a final line break") << "print 1\r\n" << QStringList{">> print 1", "1"} << "";
    QTest::newRow("INPUT answered by the next line")
        << "input a\n7\nprint a" << QStringList{">> input a", ">> 7", ">> print a", "7"} << "";
}

void TForm1Test::pasted_lines_run_in_order() {
    QFETCH(QString, pasted);
    QFETCH(QStringList, shown);
    QFETCH(QString, left);
    Console console;
    const qsizetype before = console.memo->lines().size();
    paste(console, pasted);
    QTRY_COMPARE_WITH_TIMEOUT(feeder(console)->pending(), 0, 20000);
    QVERIFY(console.wait_idle());
    QCOMPARE(console.memo->lines().mid(before), shown);
    QCOMPARE(console.edit->text(), left);
}

void TForm1Test::break_drops_the_pasted_lines_left() {
    Console console;
    paste(console, "while 1 do endwhile\nprint 1\nprint 2");
    QTRY_COMPARE_WITH_TIMEOUT(console.form->run_state(), RunState::Running, 20000);
    QTest::mouseClick(console.control<QToolButton>("BBreak"), Qt::LeftButton);
    QCOMPARE(feeder(console)->pending(), 0);
    QVERIFY(console.wait_idle());
    QCOMPARE(console.memo->lines().back(), QString("User Halted!"));
}

void TForm1Test::ten_thousand_pasted_lines_keep_the_window_responsive() {
    Console console;
    QStringList lines{"s = 0"};
    for (int i = 0; i < 10000; ++i) lines.append("s = s + 1");
    test::EventLoopGaps gaps;
    gaps.start();
    paste(console, lines.join('\n'));
    QTRY_COMPARE_WITH_TIMEOUT(feeder(console)->pending(), 0, 240000);
    QVERIFY(console.wait_idle());
    gaps.stop();
    qInfo("10001 pasted lines in %lld ms; the event loop worked for at most %lld ms at a time",
          static_cast<long long>(gaps.elapsed()), static_cast<long long>(gaps.longest()));
    QCOMPARE(console.command("print s"), (QStringList{">> print s", "10000"}));
    QVERIFY2(gaps.longest() < 100, qPrintable(QString("event loop worked for %1 ms at a time").arg(gaps.longest())));
}

void TForm1Test::copy_value_of_ans_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("literal");
    QTest::newRow("matrix") << "[1, 2; 3, 4]" << "[1, 2; 3, 4]";
    QTest::newRow("complex") << "1+2i" << "1+2i";
    QTest::newRow("string") << "\"text\"" << "\"text\"";
    QTest::newRow("real") << "0.1" << "0.10000000000000001";
}

void TForm1Test::copy_value_of_ans() {
    QFETCH(QString, line);
    QFETCH(QString, literal);
    Console console;
    console.command(line);
    QGuiApplication::clipboard()->clear();
    QStringList offered;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) return;
        for (QAction* action : menu->actions()) {
            offered.append(action->objectName());
            if (action->text() == PaneMenu::copy_ans_text) action->trigger();
        }
        menu->close();
    });
    QWidget* viewport = console.memo->viewport();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10), viewport->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(viewport, &event);
    QCOMPARE(QGuiApplication::clipboard()->text(), literal);
    // The pane's own Copy of selected text is still offered.
    QVERIFY(offered.contains("edit-copy"));
}

void TForm1Test::the_display_tab_changes_how_numbers_show_data() {
    QTest::addColumn<int>("digits");
    QTest::addColumn<int>("notation");  // index in the list
    QTest::addColumn<bool>("grouping");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("shown");
    QTest::newRow("defaults") << 10 << 0 << false << "print 2/3" << "0.6666666667";
    QTest::newRow("four digits, fixed") << 4 << 1 << false << "print 2/3" << "0.6667";
    QTest::newRow("engineering") << 10 << 3 << false << "print 2/3" << "666.6666667e-03";
    QTest::newRow("grouping") << 10 << 0 << true << "print 123456789" << "123 456 789";
}

void TForm1Test::the_display_tab_changes_how_numbers_show() {
    QFETCH(int, digits);
    QFETCH(int, notation);
    QFETCH(bool, grouping);
    QFETCH(QString, line);
    QFETCH(QString, shown);
    Console console;
    auto* options = console.form->findChild<TOptions*>();
    options->findChild<QSpinBox*>("E_digits")->setValue(digits);
    options->findChild<QComboBox*>("CB_notation")->setCurrentIndex(notation);
    options->findChild<QCheckBox*>("CK_grouping")->setChecked(grouping);
    QTest::mouseClick(options->findChild<QPushButton*>("B_Save"), Qt::LeftButton);
    QCOMPARE(console.command(line), (QStringList{">> " + line, shown}));
}

QTEST_MAIN(TForm1Test)
#include "tform1_test.moc"
