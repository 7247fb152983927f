// The output pane: the 500-line rule, batches in one update, fcls, and the
// lines read back for memo.bin.
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>
#include <string>
#include <vector>

#include "console/output_pane.h"

using ostrac::ui::OutputPane;

namespace {

std::vector<std::string> numbered(int first, int count) {
    std::vector<std::string> lines;
    for (int i = first; i < first + count; ++i) lines.push_back("line " + std::to_string(i));
    return lines;
}

}  // namespace

class OutputPaneTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lines_after_data();
    void lines_after();
    void batch_equals_lines_one_by_one_data();
    void batch_equals_lines_one_by_one();
    void five_hundred_and_first_line_leaves_401();
    void a_trimming_batch_is_one_update();
    void starts_with_one_empty_line();
    void clear_fills_the_pane_with_blank_lines_data();
    void clear_fills_the_pane_with_blank_lines();
    void line_breaks_inside_a_line_keep_it_one_line();
    void set_lines_replaces_the_contents();
};

void OutputPaneTest::lines_after_data() {
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("added");
    QTest::addColumn<int>("expected");
    QTest::newRow("below the limit") << 1 << 10 << 11;
    QTest::newRow("exactly 500") << 400 << 100 << 500;
    QTest::newRow("501st line") << 500 << 1 << 401;
    QTest::newRow("two trims") << 500 << 101 << 401;
    QTest::newRow("just below a second trim") << 500 << 100 << 500;
    QTest::newRow("one hundred thousand") << 1 << 100000 << 401;
    QTest::newRow("from an empty pane") << 0 << 600 << 500;
}

void OutputPaneTest::lines_after() {
    QFETCH(int, current);
    QFETCH(int, added);
    QFETCH(int, expected);
    QCOMPARE(OutputPane::lines_after(current, added), expected);
}

void OutputPaneTest::batch_equals_lines_one_by_one_data() {
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("batch");
    QTest::newRow("small") << 3 << 5;
    QTest::newRow("crosses 500") << 450 << 60;
    QTest::newRow("longer than the pane") << 120 << 1234;
    QTest::newRow("exactly to 501") << 1 << 500;
}

void OutputPaneTest::batch_equals_lines_one_by_one() {
    QFETCH(int, before);
    QFETCH(int, batch);
    OutputPane in_batch;
    OutputPane one_by_one;
    const std::vector<std::string> first = numbered(0, before);
    const std::vector<std::string> second = numbered(before, batch);
    in_batch.add_lines(first);
    in_batch.add_lines(second);
    for (const std::string& line : first) one_by_one.add_line(QString::fromStdString(line));
    for (const std::string& line : second) one_by_one.add_line(QString::fromStdString(line));
    QCOMPARE(in_batch.lines(), one_by_one.lines());
    QCOMPARE(in_batch.line_count(), static_cast<int>(in_batch.lines().size()));
    QCOMPARE(in_batch.document()->blockCount(), in_batch.line_count());
}

void OutputPaneTest::five_hundred_and_first_line_leaves_401() {
    OutputPane pane;
    pane.set_lines({});
    pane.add_lines(numbered(1, 500));
    QCOMPARE(pane.line_count(), 500);
    pane.add_line("line 501");
    QCOMPARE(pane.line_count(), 401);
    QCOMPARE(pane.lines().front(), QString("line 101"));
    QCOMPARE(pane.lines().back(), QString("line 501"));
}

void OutputPaneTest::a_trimming_batch_is_one_update() {
    OutputPane pane;
    pane.add_lines(numbered(1, 450));
    QSignalSpy changes(pane.document(), &QTextDocument::contentsChanged);
    pane.add_lines(numbered(451, 100));
    QCOMPARE(changes.count(), 1);
    QCOMPARE(pane.line_count(), 451);
}

void OutputPaneTest::starts_with_one_empty_line() {
    OutputPane pane;
    QCOMPARE(pane.lines(), QStringList{QString()});
    pane.add_line("first");
    QCOMPARE(pane.lines(), (QStringList{QString(), "first"}));
}

void OutputPaneTest::clear_fills_the_pane_with_blank_lines_data() {
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("blanks");
    QTest::newRow("designed pane") << 161 << 20;
    QTest::newRow("rounds down") << 167 << 20;
    QTest::newRow("smaller than a line") << 7 << 0;
}

void OutputPaneTest::clear_fills_the_pane_with_blank_lines() {
    QFETCH(int, height);
    QFETCH(int, blanks);
    OutputPane pane;
    pane.add_lines(numbered(1, 30));
    pane.resize(375, height);
    pane.clear_console();
    QCOMPARE(pane.line_count(), blanks);
    QCOMPARE(pane.lines(), QStringList(blanks, " "));
    pane.add_line("after");
    QCOMPARE(pane.lines().back(), QString("after"));
    QCOMPARE(pane.line_count(), blanks + 1);
}

void OutputPaneTest::line_breaks_inside_a_line_keep_it_one_line() {
    OutputPane pane;
    pane.set_lines({});
    pane.add_lines(std::vector<std::string>{"a\nb", "c\rd", "e"});
    QCOMPARE(pane.line_count(), 3);
    QCOMPARE(pane.document()->blockCount(), 3);
    QCOMPARE(pane.lines(), (QStringList{"a\nb", "c\rd", "e"}));
}

void OutputPaneTest::set_lines_replaces_the_contents() {
    OutputPane pane;
    pane.add_lines(numbered(1, 10));
    pane.set_lines({"x", "", "y"});
    QCOMPARE(pane.lines(), (QStringList{"x", "", "y"}));
    pane.set_lines({});
    QCOMPARE(pane.line_count(), 0);
    QCOMPARE(pane.lines(), QStringList{});
    pane.add_line("only");
    QCOMPARE(pane.lines(), QStringList{"only"});
}

QTEST_MAIN(OutputPaneTest)
#include "output_pane_test.moc"
