// The console history: ten slots, newest first, browsed with Up and Down.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "console/command_history.h"
#include "console/history_file.h"

using ostrac::ui::CommandHistory;
namespace history_file = ostrac::ui::history_file;

class CommandHistoryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keeps_the_last_ten_lines_data();
    void keeps_the_last_ten_lines();
    void browses_with_up_and_down_data();
    void browses_with_up_and_down();
    void accepting_a_line_returns_to_slot_zero();
    void the_history_file_is_read_as_far_as_it_is_sound_data();
    void the_history_file_is_read_as_far_as_it_is_sound();
    void the_history_file_round_trip();
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

void CommandHistoryTest::the_history_file_is_read_as_far_as_it_is_sound_data() {
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("lines ended by CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("a last line without a break") << QByteArray("a\nb") << QStringList{"a", "b"};
    QTest::newRow("a zero byte ends it") << QByteArray("a\nb\n\0zz\nc\n", 11) << QStringList{"a", "b"};
    QTest::newRow("broken UTF-8 ends it") << QByteArray("\xc3\xa9\n\xff\xfe\nb\n") << QStringList{"\u00e9"};
    QTest::newRow("a long line is cut") << QByteArray(300, 'x') + "\nb" << QStringList{QString(254, 'x'), "b"};
    QTest::newRow("a line without end stops it") << "a\n" + QByteArray(100000, 'y') << QStringList{"a"};
    QByteArray twelve;
    QStringList newest;
    for (int i = 1; i <= 12; ++i) {
        twelve += QByteArray::number(i) + "\n";
        if (i > 2) newest.append(QString::number(i));
    }
    QTest::newRow("the ten newest of more") << twelve << newest;
}

void CommandHistoryTest::the_history_file_is_read_as_far_as_it_is_sound() {
    QFETCH(QByteArray, contents);
    QFETCH(QStringList, lines);
    QTemporaryDir folder;
    QFile file(folder.filePath("history"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
    file.close();
    QCOMPARE(history_file::read(file.fileName()), lines);
}

void CommandHistoryTest::the_history_file_round_trip() {
    QTemporaryDir folder;
    const QString path = folder.filePath("state/ostrac/history");
    CommandHistory history;
    for (const char* line : {"x = 1", "print \"\u00e9\"", "y = x"}) history.add(QString::fromUtf8(line));
    QString error;
    QVERIFY2(history_file::write(path, history, error), qPrintable(error));
    CommandHistory read_back;
    for (const QString& line : history_file::read(path)) read_back.add(line);
    for (int i = 0; i < CommandHistory::size; ++i) QCOMPARE(read_back.slot(i), history.slot(i));
}

QTEST_APPLESS_MAIN(CommandHistoryTest)
#include "command_history_test.moc"
