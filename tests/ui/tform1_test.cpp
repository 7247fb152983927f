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
#include <QComboBox>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <chrono>
#include <csignal>
#include <ctime>
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
#include "options/toptions.h"
#include "console_test_support.h"
#include "ui_test_support.h"

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

}  // namespace

class TForm1Test : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void controls_have_their_designed_place_and_text_data();
    void controls_have_their_designed_place_and_text();
    void start_up_greets_and_applies_the_stored_colours();
    void a_typed_command_echoes_and_prints_its_result_data();
    void a_typed_command_echoes_and_prints_its_result();
    void an_input_prompt_shows_in_lentry_and_takes_the_answer();
    void history_keeps_the_last_ten_commands();
    void lmode_cycles_the_angle_unit_that_programs_read();
    void lvmode_toggles_the_coordinate_mode();
    void five_hundred_and_one_lines_leave_401();
    void clearing_fills_the_pane_with_blank_lines();
    void typed_fcls_clears_the_pane();
    void save_then_load_restores_pane_and_variables();
    void load_without_a_state_file_reports_it();
    void load_without_memo_bin_reports_it_in_a_message_box();
    void load_and_save_wait_for_a_waiting_input();
    void break_stops_an_endless_loop();
    void break_stops_a_long_builtin();
    void enter_while_running_keeps_the_entry_text();
    void an_idle_console_uses_no_processor_time();
    void hundred_thousand_lines_finish_and_keep_the_window_responsive();
    void break_during_hundred_thousand_lines_within_100_ms();
    void resizing_follows_the_window();
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
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("B_Edit") << "B_Edit" << QRect(2, 41, 38, 22) << "Editor" << true;
    QTest::newRow("B_graph") << "B_graph" << QRect(40, 41, 39, 22) << "Graph" << true;
    QTest::newRow("BBreak") << "BBreak" << QRect(2, 64, 38, 22) << "Break" << true;
    QTest::newRow("BLoad1") << "BLoad1" << QRect(4, 101, 36, 22) << "Load" << true;
    QTest::newRow("Bsave2") << "Bsave2" << QRect(39, 101, 40, 22) << "Save" << true;
    QTest::newRow("BOptions") << "BOptions" << QRect(4, 126, 37, 24) << "Option" << true;
    QTest::newRow("BAyuda") << "BAyuda" << QRect(41, 126, 37, 24) << "Help" << true;
    QTest::newRow("Button1") << "Button1" << QRect(4, 152, 21, 17) << "?" << true;
    QTest::newRow("SpeedButton1") << "SpeedButton1" << QRect(29, 152, 23, 17) << "Fx ..." << true;
}

void TForm1Test::controls_have_their_designed_place_and_text() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QFETCH(bool, enabled);
    Console console;
    auto* button = console.control<QAbstractButton>(qPrintable(name));
    QVERIFY(button != nullptr);
    QCOMPARE(button->geometry(), geometry);
    QCOMPARE(button->text(), text);
    QCOMPARE(button->isEnabled(), enabled);
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

void TForm1Test::an_input_prompt_shows_in_lentry_and_takes_the_answer() {
    Console console;
    QCOMPARE(console.command("input a"), QStringList{">> input a"});
    QVERIFY2(console.prompt->text().startsWith("a") && console.prompt->text().endsWith("?"),
             qPrintable(console.prompt->text()));
    // The prompt label grows to the left and keeps its right edge.
    QCOMPARE(console.prompt->geometry().right(), 72);
    QCOMPARE(console.command("7"), QStringList{">> 7"});
    QCOMPARE(console.prompt->text(), QString(">>"));
    QCOMPARE(console.command("print a"), (QStringList{">> print a", "7"}));
    QCOMPARE(console.edit->history().slot(1), QString("7"));
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
    QCOMPARE(console.memo->height(), 161);
    {
        // The host call of the fcls command, as the worker makes it.
        auto access = console.form->session_access();
        access.session().host.clear_console();
    }
    console.form->drain_events();
    QCOMPARE(console.memo->lines(), QStringList(20, " "));
}

void TForm1Test::typed_fcls_clears_the_pane() {
    Console console;
    console.type("fcls(0)");
    QVERIFY(console.wait_idle());
    // The blank lines, then the command's argument shown as its value.
    QCOMPARE(console.memo->lines(), QStringList(20, " ") + QStringList{"0"});
}

void TForm1Test::save_then_load_restores_pane_and_variables() {
    Console console;
    console.command("x = 42");
    console.command("print x");
    const QStringList saved_pane = console.memo->lines();
    QTest::mouseClick(console.control<QPushButton>("Bsave2"), Qt::LeftButton);
    QCOMPARE(console.memo->lines().back(), QString("State Saved."));
    QVERIFY(QFile::exists(console.folders.home() + "/data.bin"));
    QVERIFY(QFile::exists(console.folders.home() + "/memo.bin"));
    console.command("x = 1");
    QTest::mouseClick(console.control<QPushButton>("BLoad1"), Qt::LeftButton);
    QCOMPARE(console.memo->lines(), saved_pane + QStringList{"State Loaded."});
    QCOMPARE(console.command("print x"), (QStringList{">> print x", "42"}));
}

void TForm1Test::load_without_a_state_file_reports_it() {
    Console console;
    const QStringList before = console.memo->lines();
    QTest::mouseClick(console.control<QPushButton>("BLoad1"), Qt::LeftButton);
    console.wait_idle();
    QCOMPARE(console.memo->lines(), before + QStringList{"Imposible abrir fichero de estado line=0"});
    QCOMPARE(console.form->run_state(), RunState::Idle);
}

void TForm1Test::load_without_memo_bin_reports_it_in_a_message_box() {
    Console console;
    QTest::mouseClick(console.control<QPushButton>("Bsave2"), Qt::LeftButton);
    QVERIFY(QFile::remove(console.folders.home() + "/memo.bin"));
    const QStringList before = console.memo->lines();
    QString message;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            message = box->text();
            box->close();
        }
    });
    QTest::mouseClick(console.control<QPushButton>("BLoad1"), Qt::LeftButton);
    QVERIFY2(message.contains(console.folders.home() + "/memo.bin"), qPrintable(message));
    console.wait_idle();
    QCOMPARE(console.memo->lines(), before);
}

void TForm1Test::load_and_save_wait_for_a_waiting_input() {
    Console console;
    console.command("input a");
    QVERIFY(!console.control<QPushButton>("BLoad1")->isEnabled());
    QVERIFY(!console.control<QPushButton>("Bsave2")->isEnabled());
    console.command("1");
    QVERIFY(console.control<QPushButton>("BLoad1")->isEnabled());
    QVERIFY(console.control<QPushButton>("Bsave2")->isEnabled());
}

void TForm1Test::break_stops_an_endless_loop() {
    Console console;
    QSignalSpy editor_resets(console.form.get(), &TForm1::editorReset);
    console.type("while 1 do endwhile");
    QTest::qWait(50);
    QCOMPARE(console.form->run_state(), RunState::Running);
    QVERIFY(!console.control<QPushButton>("BLoad1")->isEnabled());
    QVERIFY(!console.control<QPushButton>("Bsave2")->isEnabled());
    QTest::mouseClick(console.control<QToolButton>("BBreak"), Qt::LeftButton);
    QVERIFY(console.wait_idle(1000));
    QCOMPARE(console.memo->lines().back(), QString("User Halted!"));
    QVERIFY(console.control<QPushButton>("BLoad1")->isEnabled());
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

void TForm1Test::break_during_hundred_thousand_lines_within_100_ms() {
    Console console;
    // Far more lines than can be printed before the Break, whatever the
    // build's speed: the Break always lands in the middle of the flood.
    console.type("for i = 1 to 100000000: print i: next");
    QTest::qWait(100);
    QCOMPARE(console.form->run_state(), RunState::Running);
    QElapsedTimer latency;
    latency.start();
    QTest::mouseClick(console.control<QToolButton>("BBreak"), Qt::LeftButton);
    while (console.memo->lines().back() != "User Halted!" && latency.elapsed() < 1000) QTest::qWait(1);
    const qint64 elapsed = latency.elapsed();
    qInfo("Break shown in the pane after %lld ms", static_cast<long long>(elapsed));
    QCOMPARE(console.memo->lines().back(), QString("User Halted!"));
    QVERIFY2(elapsed < 100, qPrintable(QString("Break took %1 ms").arg(elapsed)));
    QVERIFY(console.wait_idle(1000));
}

void TForm1Test::resizing_follows_the_window() {
    Console console;
    console.form->resize(600, 300);
    QTRY_COMPARE(console.form->size(), QSize(600, 300));
    QCOMPARE(console.memo->geometry(), QRect(78, 0, 520, 277));
    QCOMPARE(console.edit->geometry(), QRect(77, 277, 521, 23));
    QCOMPARE(console.panel->height(), 300);
    QCOMPARE(console.prompt->y(), 300 - 16 - 5);
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
    QTest::mouseClick(console.control<QPushButton>("Button1"), Qt::LeftButton);
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
    QCOMPARE(graph->chart_view()->chart()->findChildren<QAbstractSeries*>().size(), 2);
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
