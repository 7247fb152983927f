// The console history: ten slots, newest first, browsed with Up and Down.
#include <QTest>

#include "console/command_history.h"

using ostrac::ui::CommandHistory;

class CommandHistoryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keeps_the_last_ten_lines_data();
    void keeps_the_last_ten_lines();
    void browses_with_up_and_down_data();
    void browses_with_up_and_down();
    void accepting_a_line_returns_to_slot_zero();
};

void CommandHistoryTest::keeps_the_last_ten_lines_data() {
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("nothing") << QStringList{} << QStringList(10, QString());
    QTest::newRow("one line") << QStringList{"a"}
                              << QStringList{"a", "", "", "", "", "", "", "", "", ""};
    QTest::newRow("empty lines are not kept")
        << QStringList{"a", "", "b", ""} << QStringList{"b", "a", "", "", "", "", "", "", "", ""};
    QStringList eleven;
    for (int i = 1; i <= 11; ++i) eleven.append(QString("c%1").arg(i));
    QTest::newRow("eleven commands drop the oldest")
        << eleven << QStringList{"c11", "c10", "c9", "c8", "c7", "c6", "c5", "c4", "c3", "c2"};
}

void CommandHistoryTest::keeps_the_last_ten_lines() {
    QFETCH(QStringList, added);
    QFETCH(QStringList, expected);
    CommandHistory history;
    for (const QString& line : added) history.add(line);
    for (int i = 0; i < CommandHistory::size; ++i) QCOMPARE(history.slot(i), expected[i]);
}

void CommandHistoryTest::browses_with_up_and_down_data() {
    QTest::addColumn<int>("stored");   // lines "c1".."cN" added
    QTest::addColumn<QString>("keys");  // U = Up, D = Down
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("up shows then moves") << 3 << "UUU" << QStringList{"c3", "c2", "c1"};
    QTest::newRow("down moves then shows") << 3 << "UUD" << QStringList{"c3", "c2", "c2"};
    QTest::newRow("down at slot zero stays") << 3 << "DD" << QStringList{"c3", "c3"};
    QTest::newRow("up then down from the start") << 3 << "UD" << QStringList{"c3", "c3"};
    QTest::newRow("empty slots show nothing") << 1 << "UUU" << QStringList{"c1", "", ""};
    QTest::newRow("up stops at slot nine")
        << 11 << "UUUUUUUUUUUU" << QStringList{"c11", "c10", "c9", "c8", "c7", "c6", "c5", "c4", "c3", "c2", "c2", "c2"};
    QTest::newRow("down after the oldest slot")
        << 11 << "UUUUUUUUUUD" << QStringList{"c11", "c10", "c9", "c8", "c7", "c6", "c5", "c4", "c3", "c2", "c3"};
}

void CommandHistoryTest::browses_with_up_and_down() {
    QFETCH(int, stored);
    QFETCH(QString, keys);
    QFETCH(QStringList, shown);
    CommandHistory history;
    for (int i = 1; i <= stored; ++i) history.add(QString("c%1").arg(i));
    QStringList seen;
    for (const QChar key : keys) seen.append(key == 'U' ? history.up() : history.down());
    QCOMPARE(seen, shown);
}

void CommandHistoryTest::accepting_a_line_returns_to_slot_zero() {
    CommandHistory history;
    history.add("a");
    history.add("b");
    history.up();
    history.up();
    QCOMPARE(history.cursor(), 2);
    history.add("");
    QCOMPARE(history.cursor(), 0);
    QCOMPARE(history.up(), QString("b"));
}

QTEST_APPLESS_MAIN(CommandHistoryTest)
#include "command_history_test.moc"
