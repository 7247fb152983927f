// memo.bin: pane lines ended by CR LF.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "console/memo_file.h"

namespace memo_file = ostrac::ui::memo_file;

class MemoFileTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void writes_each_line_with_cr_lf_data();
    void writes_each_line_with_cr_lf();
    void reads_what_it_wrote_data();
    void reads_what_it_wrote();
    void a_missing_file_is_an_error();
    void an_unwritable_place_is_an_error();
    void a_read_only_file_is_refused_and_kept();
};

void MemoFileTest::writes_each_line_with_cr_lf_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("two lines") << QStringList{">> 2", "2"} << QByteArray(">> 2\r\n2\r\n");
    QTest::newRow("empty and blank lines") << QStringList{"", " "} << QByteArray("\r\n \r\n");
    QTest::newRow("nothing") << QStringList{} << QByteArray();
    QTest::newRow("a line feed inside a line") << QStringList{"a\nb"} << QByteArray("a\nb\r\n");
    QTest::newRow("UTF-8") << QStringList{"π = 3.14"} << QByteArray("\xcf\x80 = 3.14\r\n");
}

void MemoFileTest::writes_each_line_with_cr_lf() {
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, bytes);
    QTemporaryDir folder;
    const QString path = folder.filePath(memo_file::name);
    QString error;
    QVERIFY(memo_file::write(path, lines, error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes);
}

void MemoFileTest::reads_what_it_wrote_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("two lines") << QByteArray(">> 2\r\n2\r\n") << QStringList{">> 2", "2"};
    QTest::newRow("last line without its end") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("empty lines") << QByteArray("\r\n\r\n") << QStringList{"", ""};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("a line feed belongs to its line") << QByteArray("a\nb\r\n") << QStringList{"a\nb"};
}

void MemoFileTest::reads_what_it_wrote() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QTemporaryDir folder;
    const QString path = folder.filePath(memo_file::name);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    QString error;
    const auto read = memo_file::read(path, error);
    QVERIFY(read.has_value());
    QCOMPARE(*read, lines);
}

void MemoFileTest::a_missing_file_is_an_error() {
    QTemporaryDir folder;
    QString error;
    QVERIFY(!memo_file::read(folder.filePath("missing.bin"), error).has_value());
    QVERIFY(!error.isEmpty());
}

void MemoFileTest::an_unwritable_place_is_an_error() {
    QTemporaryDir folder;
    QString error;
    QVERIFY(!memo_file::write(folder.filePath("no/such/folder/memo.bin"), {"x"}, error));
    QVERIFY(!error.isEmpty());
}

void MemoFileTest::a_read_only_file_is_refused_and_kept() {
    QTemporaryDir folder;
    const QString path = folder.filePath(memo_file::name);
    QString error;
    QVERIFY(memo_file::write(path, {"old"}, error));
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
    QVERIFY(!memo_file::write(path, {"new"}, error));
    QCOMPARE(error, QString("the file is read-only"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("old\r\n"));
}

QTEST_APPLESS_MAIN(MemoFileTest)

#include "memo_file_test.moc"
