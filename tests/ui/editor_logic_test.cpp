// The program editor's widget-free parts: the caret's line number, the
// editor text as program lines, program files, the syntax colouring's spans
// and the debugger buttons acting on a session stepped by the test itself.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <array>
#include <string>
#include <vector>

#include "editor/caret_line.h"
#include "editor/debugger.h"
#include "editor/prg_file.h"
#include "editor/program_text.h"
#include "editor/syntax_spans.h"
#include "session/session.h"
#include "support/recording_host.h"

using namespace ostrac::ui;
using ostrac::session::RunState;
using Kind = SyntaxSpan::Kind;

Q_DECLARE_METATYPE(std::vector<SyntaxSpan>)

namespace {

// A session without a start-up library, in a temporary home folder.
struct Engine {
    Engine() {
        std::array<std::string, ostrac::session::Session::search_path_count> paths;
        paths[0] = home.path().toStdString();
        session.init(paths);
        // The variables of the test programs exist from the start, so the
        // table's growth message does not come in between.
        session.submit("a = 0: b = 0: c = 0: d = 0: e = 0: f = 0");
        work();
        host.lines.clear();
    }

    // Steps as the worker does until it would park: the session is not
    // running and no EVAL text is being executed.
    void work() {
        for (int i = 0; i < 1000000; ++i) {
            if (session.run_state != RunState::Running && session.run_state != RunState::BreakRequested &&
                session.current_block != ostrac::session::slot::EVAL0) {
                return;
            }
            session.step();
        }
        QFAIL("the session never came to rest");
    }

    // Pane lines since the last call.
    QStringList take_lines() {
        QStringList out;
        for (const std::string& line : host.lines) out.append(QString::fromStdString(line));
        host.lines.clear();
        return out;
    }

    QTemporaryDir home;
    ostrac::test::RecordingHost host;
    ostrac::session::Session session{host};
};

const std::vector<std::string> straight = {"a = 1", "b = 2", "c = 3", "d = 4", "e = 5", "print a + e"};

}  // namespace

class EditorLogicTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void caret_line_counts_line_feeds_before_the_caret_data();
    void caret_line_counts_line_feeds_before_the_caret();
    void editor_text_and_program_lines_data();
    void editor_text_and_program_lines();
    void program_files_round_trip_with_crlf();
    void program_files_accept_line_feeds_and_latin1();
    void program_files_that_are_not_text_are_refused_whole_data();
    void program_files_that_are_not_text_are_refused_whole();
    void program_file_errors_say_why();
    void syntax_spans_follow_the_scanner_rules_data();
    void syntax_spans_follow_the_scanner_rules();
    void run_starts_the_program_without_debugging();
    void step_starts_and_stops_at_each_line_of_the_main_part();
    void run_to_stops_at_the_caret_line_then_at_the_picked_line();
    void presses_that_cannot_act_change_nothing();
    void a_line_evaluated_at_a_stop_keeps_the_program_paused();
    void edit_stops_the_program_and_resets_the_debugger();
    void states_of_the_editor();
};

void EditorLogicTest::caret_line_counts_line_feeds_before_the_caret_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("caret");
    QTest::addColumn<int>("line");
    QTest::newRow("empty text") << QString() << qsizetype(0) << 1;
    QTest::newRow("start of line 2") << QString("ab\ncd") << qsizetype(3) << 2;
    QTest::newRow("on the line feed") << QString("ab\ncd") << qsizetype(2) << 1;
    QTest::newRow("after the last character of 4 lines") << QString("a\nb\nc\nd") << qsizetype(7) << 4;
    QTest::newRow("caret beyond the text") << QString("a\nb") << qsizetype(99) << 2;
    QTest::newRow("negative caret") << QString("a\nb") << qsizetype(-1) << 1;
    // 200 lines of 299 characters and a line feed: the 32000th character
    // (index 31999) is on line 107; a caret further on still shows line 107.
    const QString long_text = QString(QString(299, u'x') + u'\n').repeated(200);
    QTest::newRow("caret at 32000 of a longer text") << long_text << qsizetype(32000) << 107;
    QTest::newRow("caret beyond 32000") << long_text << qsizetype(59999) << 107;
    QTest::newRow("caret before the 32000th character") << long_text << qsizetype(31999) << 107;
    QTest::newRow("caret just after line 106") << long_text << qsizetype(31800) << 107;
    QTest::newRow("caret on line 106's line feed") << long_text << qsizetype(31799) << 106;
}

void EditorLogicTest::caret_line_counts_line_feeds_before_the_caret() {
    QFETCH(QString, text);
    QFETCH(qsizetype, caret);
    QFETCH(int, line);
    QCOMPARE(caret_line(text, caret), line);
}

void EditorLogicTest::editor_text_and_program_lines_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << QString() << QStringList{};
    QTest::newRow("one line") << QString("print 1") << QStringList{"print 1"};
    QTest::newRow("three lines") << QString("a\nb\nc") << QStringList{"a", "b", "c"};
    QTest::newRow("the last line's end") << QString("a\nb\n") << QStringList{"a", "b"};
    QTest::newRow("empty lines inside") << QString("a\n\n\nb") << QStringList{"a", "", "", "b"};
    QTest::newRow("one empty line") << QString("\n") << QStringList{""};
    QTest::newRow("an empty last line") << QString("a\n\n") << QStringList{"a", ""};
}

void EditorLogicTest::editor_text_and_program_lines() {
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(program_text::lines(text), lines);
    // Lines shown and taken again are the same lines.
    QCOMPARE(program_text::lines(program_text::text(lines)), lines);
    const std::vector<std::string> feed = program_text::feed_lines(lines);
    QCOMPARE(feed.size(), static_cast<std::size_t>(lines.size()));
    for (std::size_t i = 0; i < feed.size(); ++i) QCOMPARE(QString::fromStdString(feed[i]), lines[qsizetype(i)]);
}

void EditorLogicTest::program_files_round_trip_with_crlf() {
    QTemporaryDir dir;
    const QString path = dir.filePath("p.prg");
    const QStringList lines{"x = \"caf\u00e9\"", "\tprint x", "", "// end"};
    QString error;
    QVERIFY(prg_file::write(path, lines, error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("x = \"caf\xc3\xa9\"\r\n\tprint x\r\n\r\n// end\r\n"));
    QCOMPARE(prg_file::read(path, error), std::optional<QStringList>(lines));
}

void EditorLogicTest::program_files_accept_line_feeds_and_latin1() {
    QString error;
    QCOMPARE(prg_file::parse("a\nb", error), std::optional<QStringList>(QStringList{"a", "b"}));
    QCOMPARE(prg_file::parse("a\r\n\r\nb\r\n", error), std::optional<QStringList>(QStringList{"a", "", "b"}));
    QCOMPARE(prg_file::parse("", error), std::optional<QStringList>(QStringList{}));
    // Not UTF-8: read as Latin-1.
    QCOMPARE(prg_file::parse("x = \"a\xf1o\"", error), std::optional<QStringList>(QStringList{"x = \"a\u00f1o\""}));
    // A line of exactly the limit is taken.
    const QByteArray longest(prg_file::max_line_length, 'x');
    QCOMPARE(prg_file::parse(longest + "\r\n", error), std::optional<QStringList>(QStringList{QString(longest)}));
}

void EditorLogicTest::program_files_that_are_not_text_are_refused_whole_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("reason");
    QTest::newRow("NUL byte") << QByteArray("print 1\r\n\0\r\n", 12) << "0x00 at offset 9";
    QTest::newRow("escape") << QByteArray("print 1\x1b") << "0x1b at offset 7";
    QTest::newRow("executable header") << QByteArray("\x7f" "ELF\x02\x01\x01", 7) << "0x02 at offset 4";
    QTest::newRow("line over the limit")
        << (QByteArray("a\r\n") + QByteArray(prg_file::max_line_length + 1, 'x')) << "Line 2 is longer than 2048";
}

void EditorLogicTest::program_files_that_are_not_text_are_refused_whole() {
    QFETCH(QByteArray, data);
    QFETCH(QString, reason);
    QString error;
    QCOMPARE(prg_file::parse(data, error), std::nullopt);
    QVERIFY2(error.contains(reason), qPrintable(error));
}

void EditorLogicTest::program_file_errors_say_why() {
    QTemporaryDir dir;
    QString error;
    QCOMPARE(prg_file::read(dir.filePath("missing.prg"), error), std::nullopt);
    QVERIFY(!error.isEmpty());
    error.clear();
    QVERIFY(!prg_file::write(dir.filePath("no/such/folder/p.prg"), {"x"}, error));
    QVERIFY(!error.isEmpty());

    // A file over the size limit is refused before it is read.
    const QString big = dir.filePath("big.prg");
    QFile file(big);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.resize(prg_file::max_file_size + 1));
    file.close();
    error.clear();
    QCOMPARE(prg_file::read(big, error), std::nullopt);
    QVERIFY2(error.contains("larger than"), qPrintable(error));
}

void EditorLogicTest::syntax_spans_follow_the_scanner_rules_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<std::vector<SyntaxSpan>>("spans");
    QTest::newRow("keywords in any case") << QString("FOR i = 1 To 3")
                                          << std::vector<SyntaxSpan>{{0, 3, Kind::Keyword},
                                                                     {8, 1, Kind::Number},
                                                                     {10, 2, Kind::Keyword},
                                                                     {13, 1, Kind::Number}};
    QTest::newRow("longer words are identifiers") << QString("format for2 todo exit2 a_b_c")
                                                  << std::vector<SyntaxSpan>{};
    QTest::newRow("built-in names") << QString("y = SIN(x) + sqr(2)")
                                    << std::vector<SyntaxSpan>{{4, 3, Kind::Builtin},
                                                               {13, 3, Kind::Builtin},
                                                               {17, 1, Kind::Number}};
    QTest::newRow("string with a comment mark inside") << QString("print \"a // b\" // note")
                                                       << std::vector<SyntaxSpan>{{0, 5, Kind::Keyword},
                                                                                  {6, 8, Kind::String},
                                                                                  {15, 7, Kind::Comment}};
    QTest::newRow("unclosed quote is skipped") << QString("print \"to")
                                               << std::vector<SyntaxSpan>{{0, 5, Kind::Keyword},
                                                                          {7, 2, Kind::Keyword}};
    QTest::newRow("numbers with exponents and imaginary parts")
        << QString("1e3 .5 2.5e 3i 1e2e3 x2")
        << std::vector<SyntaxSpan>{{0, 3, Kind::Number},
                                   {4, 2, Kind::Number},
                                   {7, 3, Kind::Number},
                                   {12, 2, Kind::Number},
                                   {15, 5, Kind::Number}};
    QTest::newRow("unit names are identifiers") << QString("_to_ _m/s_") << std::vector<SyntaxSpan>{};
    QTest::newRow("comment only") << QString("// for") << std::vector<SyntaxSpan>{{0, 6, Kind::Comment}};
}

void EditorLogicTest::syntax_spans_follow_the_scanner_rules() {
    QFETCH(QString, line);
    QFETCH(std::vector<SyntaxSpan>, spans);
    const std::vector<SyntaxSpan> found = syntax_spans(line);
    QCOMPARE(found.size(), spans.size());
    for (std::size_t i = 0; i < spans.size(); ++i) {
        QCOMPARE(found[i].start, spans[i].start);
        QCOMPARE(found[i].length, spans[i].length);
        QCOMPARE(found[i].kind, spans[i].kind);
    }
}

void EditorLogicTest::run_starts_the_program_without_debugging() {
    Engine e;
    const debugger::Outcome outcome = debugger::run(e.session, {"print 1", "print 2", "print 3"});
    QCOMPARE(outcome, (debugger::Outcome{.enter_debug_view = false, .resume = true}));
    QCOMPARE(e.session.run_state.load(), RunState::Running);
    e.work();
    QCOMPARE(e.take_lines(), (QStringList{"1", "2", "3"}));
    QVERIFY(e.host.shown_lines.empty());
    QCOMPARE(e.session.run_state.load(), RunState::Idle);
}

void EditorLogicTest::step_starts_and_stops_at_each_line_of_the_main_part() {
    Engine e;
    QCOMPARE(debugger::step(e.session, straight), (debugger::Outcome{.enter_debug_view = true, .resume = true}));
    QCOMPARE(e.session.debug_mode, ostrac::session::DebugMode::StepOver);
    e.work();
    QCOMPARE(e.session.run_state.load(), RunState::Paused);
    QCOMPARE(e.take_lines(), QStringList{"[line 1]"});
    QCOMPARE(e.host.shown_lines, std::vector<int>{1});
    for (int line = 2; line <= 6; ++line) {
        // Later presses go on without entering the debug view again.
        QCOMPARE(debugger::step(e.session, straight), (debugger::Outcome{.enter_debug_view = false, .resume = true}));
        e.work();
        QCOMPARE(e.session.run_state.load(), RunState::Paused);
        QCOMPARE(e.session.current_line, line);
    }
    QCOMPARE(debugger::step(e.session, straight).resume, true);
    e.work();
    QCOMPARE(e.take_lines(), (QStringList{"[line 2]", "[line 3]", "[line 4]", "[line 5]", "[line 6]", "6"}));
    QCOMPARE(e.session.run_state.load(), RunState::Idle);
    QCOMPARE(e.session.debug_mode, ostrac::session::DebugMode::Off);
}

void EditorLogicTest::run_to_stops_at_the_caret_line_then_at_the_picked_line() {
    Engine e;
    QCOMPARE(debugger::run_to(e.session, 3, 0, straight), (debugger::Outcome{.enter_debug_view = true, .resume = true}));
    QCOMPARE(e.session.debug_mode, ostrac::session::DebugMode::RunToTarget);
    QCOMPARE(e.session.target_line, 3);
    e.work();
    QCOMPARE(e.session.current_line, 3);
    QCOMPARE(e.take_lines(), (QStringList{"[line 1]", "[line 2]", "[line 3]"}));
    // The caret no longer counts: the line picked in the list does.
    QCOMPARE(debugger::run_to(e.session, 1, 5, straight), (debugger::Outcome{.enter_debug_view = false, .resume = true}));
    QCOMPARE(e.session.target_line, 5);
    e.work();
    QCOMPARE(e.session.run_state.load(), RunState::Paused);
    QCOMPARE(e.session.current_line, 5);
    // Nothing picked: on to the end.
    debugger::run_to(e.session, 1, 0, straight);
    e.work();
    QCOMPARE(e.take_lines(), (QStringList{"[line 4]", "[line 5]", "[line 6]", "6"}));
    QCOMPARE(e.session.run_state.load(), RunState::Idle);
}

void EditorLogicTest::presses_that_cannot_act_change_nothing() {
    Engine e;
    // A program waiting for an INPUT answer.
    e.session.submit("input a");
    e.work();
    QCOMPARE(e.session.run_state.load(), RunState::Idle);
    QVERIFY(e.session.running_flag != 0);
    const debugger::Outcome nothing{};
    QCOMPARE(debugger::run(e.session, straight), nothing);
    QCOMPARE(debugger::step(e.session, straight), nothing);
    QCOMPARE(debugger::step_into(e.session, straight), nothing);
    QCOMPARE(debugger::run_to(e.session, 2, 0, straight), nothing);
    QCOMPARE(e.session.debug_mode, ostrac::session::DebugMode::Off);
    QCOMPARE(e.session.run_state.load(), RunState::Idle);
    // The answer still reaches the INPUT.
    e.session.submit("5");
    e.work();
    e.session.submit("print a");
    e.work();
    QCOMPARE(e.take_lines().back(), QString("5"));

    // A program compiled without line markers cannot be stopped by the
    // debug buttons; a Break pending is not overtaken.
    e.session.run_state = RunState::Running;
    QCOMPARE(debugger::step(e.session, straight), nothing);
    QCOMPARE(debugger::run(e.session, straight), nothing);
    e.session.run_state = RunState::BreakRequested;
    QCOMPARE(debugger::step_into(e.session, straight), nothing);
    QCOMPARE(e.session.debug_mode, ostrac::session::DebugMode::Off);
}

void EditorLogicTest::a_line_evaluated_at_a_stop_keeps_the_program_paused() {
    Engine e;
    debugger::run_to(e.session, 3, 0, straight);
    e.work();
    e.take_lines();
    QVERIFY(e.session.submit("b"));
    e.work();
    QCOMPARE(e.take_lines(), QStringList{"2"});
    QCOMPARE(e.session.run_state.load(), RunState::Paused);
    QCOMPARE(e.session.current_line, 3);
    debugger::step(e.session, straight);
    e.work();
    QCOMPARE(e.session.current_line, 4);
}

void EditorLogicTest::edit_stops_the_program_and_resets_the_debugger() {
    Engine e;
    debugger::step_into(e.session, straight);
    e.work();
    QCOMPARE(e.session.run_state.load(), RunState::Paused);
    const int resets = e.host.editor_resets;
    QCOMPARE(debugger::edit(e.session), (debugger::Outcome{.enter_debug_view = false, .resume = true}));
    e.session.step();
    QCOMPARE(e.take_lines(), (QStringList{"[line 1]", "User Halted!"}));
    QCOMPARE(e.host.editor_resets, resets + 1);
    QCOMPARE(e.session.debug_mode, ostrac::session::DebugMode::Off);
    QCOMPARE(e.session.run_state.load(), RunState::Idle);
    QCOMPARE(e.session.running_flag, 0);
}

void EditorLogicTest::states_of_the_editor() {
    Engine e;
    QCOMPARE(debugger::state(false, e.session), debugger::State::Editing);
    debugger::step(e.session, {"a = 1"});
    QCOMPARE(debugger::state(true, e.session), debugger::State::DebugRunning);
    e.work();
    QCOMPARE(debugger::state(true, e.session), debugger::State::DebugPaused);
    debugger::step(e.session, {"a = 1"});
    e.work();
    QCOMPARE(debugger::state(true, e.session), debugger::State::Ended);
}

QTEST_GUILESS_MAIN(EditorLogicTest)
#include "editor_logic_test.moc"
