// The options dialog and the stored settings, each test with its own
// temporary settings file.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "common/clickable_label.h"
#include "common/clickable_panel.h"
#include "options/search_paths.h"
#include "options/settings.h"
#include "options/toptions.h"
#include "ui_test_support.h"

using namespace ostrac::ui;

Q_DECLARE_METATYPE(ostrac::ui::Settings)

namespace {

QStringList list_entries(const QListWidget* list) {
    QStringList entries;
    for (int row = 0; row < list->count(); ++row) entries.append(list->item(row)->text());
    return entries;
}

// Runs `action` on the next modal dialog that opens, from the event loop.
void on_next_modal(std::function<void(QWidget*)> action) {
    QTimer::singleShot(0, [action = std::move(action)] {
        if (QWidget* modal = QApplication::activeModalWidget()) action(modal);
    });
}

// The per-user data folder, the home folder when search path 1 is empty.
QString default_home() { return qEnvironmentVariable("XDG_DATA_HOME") + "/ostrac"; }

// A dialog over a settings file holding the given values (group SearchPath).
struct Dialog {
    explicit Dialog(const QList<QPair<QString, QString>>& stored = {}) {
        QSettings settings = folders.stored();
        settings.beginGroup(SettingsStore::group);
        for (const auto& [key, value] : stored) settings.setValue(key, value);
        settings.endGroup();
        settings.sync();
        dialog = std::make_unique<TOptions>();
        paths = dialog->findChild<QListWidget*>("L_paths");
        path_edit = dialog->findChild<QLineEdit*>("E_path");
    }

    void click(const char* name) { QTest::mouseClick(dialog->findChild<QPushButton*>(name), Qt::LeftButton); }

    void add_path(const QString& path) {
        path_edit->setText(path);
        click("B_Addpath");
    }

    test::TestFolders folders;
    std::unique_ptr<TOptions> dialog;
    QListWidget* paths = nullptr;
    QLineEdit* path_edit = nullptr;
};

}  // namespace

class TOptionsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void a_first_start_uses_the_defaults_silently();
    void stored_values_are_read_data();
    void stored_values_are_read();
    void addpath_fills_the_first_empty_entry_data();
    void addpath_fills_the_first_empty_entry();
    void addpath_refuses_a_path_of_fifty_characters();
    void delpath_data();
    void delpath();
    void ok_stores_every_value();
    void cancel_stores_nothing_and_keeps_the_list();
    void a_chosen_colour_then_cancel_changes_nothing();
    void a_chosen_colour_then_ok_is_stored();
    void an_empty_home_folder_is_the_per_user_data_folder();
    void session_options_are_stored_and_read_back();
    void stored_session_options_are_read_data();
    void stored_session_options_are_read();
    void entry_1_shows_the_home_folder_in_use_data();
    void entry_1_shows_the_home_folder_in_use();
    void the_home_folder_changes_only_on_purpose_data();
    void the_home_folder_changes_only_on_purpose();
};

void TOptionsTest::a_first_start_uses_the_defaults_silently() {
    Dialog dialog;
    QCOMPARE(dialog.dialog->read_problems(), QStringList{});
    QCOMPARE(dialog.dialog->settings().colours, Settings::defaults().colours);
    QCOMPARE(list_entries(dialog.paths), QStringList{default_home()} + QStringList(9, QString()));
    QCOMPARE(dialog.dialog->windowTitle(), QString("OSTRAC Options"));
    QVERIFY(dialog.dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    auto* pages = dialog.dialog->findChild<QTabWidget*>("PageControl1");
    QCOMPARE(pages->tabText(0), QString("Paths"));
    QCOMPARE(pages->tabText(1), QString("Visuals"));
}

void TOptionsTest::stored_values_are_read_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<quint32>("memo_background");
    QTest::addColumn<quint32>("edit_text");
    QTest::addColumn<QString>("problem");

    QTest::newRow("a stored colour") << "bkcMemo" << "255" << 255u << 0xFFFFFFu << "";
    QTest::newRow("a colour that is not a number")
        << "bkcMemo" << "blue" << 0xC05040u << 0xFFFFFFu << "bkcMemo = \"blue\" is not a decimal integer";
    QTest::newRow("a hexadecimal colour")
        << "bkcMemo" << "0xFF" << 0xC05040u << 0xFFFFFFu << "bkcMemo = \"0xFF\" is not a decimal integer";
    QTest::newRow("colours after a bad one are still read") << "ftcEdit" << "65280" << 0xC05040u << 65280u << "";
}

void TOptionsTest::stored_values_are_read() {
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(quint32, memo_background);
    QFETCH(quint32, edit_text);
    QFETCH(QString, problem);
    QList<QPair<QString, QString>> stored{{"L1", "/home/folder"}, {"L3", "/third"}, {key, value}};
    if (key != "bkcMemo") stored.append(qMakePair(QString("bkcMemo"), QString("bad")));
    Dialog dialog(stored);
    const Settings& settings = dialog.dialog->settings();
    QCOMPARE(settings.colours.memo_background, memo_background);
    QCOMPARE(settings.colours.edit_text, edit_text);
    QCOMPARE(settings.paths[0], QString("/home/folder"));
    QCOMPARE(settings.paths[2], QString("/third"));
    QCOMPARE(list_entries(dialog.paths),
             (QStringList{"/home/folder", "", "/third", "", "", "", "", "", "", ""}));
    const QStringList problems = dialog.dialog->read_problems();
    if (!problem.isEmpty()) {
        QCOMPARE(problems, QStringList{problem});
    } else if (key == "bkcMemo") {
        QCOMPARE(problems, QStringList{});
    } else {
        QCOMPARE(problems.size(), 1);  // only the bad bkcMemo
    }
}

void TOptionsTest::addpath_fills_the_first_empty_entry_data() {
    QTest::addColumn<int>("filled");
    QTest::addColumn<int>("entry");  // 0 when nothing changes
    QTest::newRow("three filled") << 3 << 4;
    // Entry 1 shows the home folder in use, so a new path goes to entry 2.
    QTest::newRow("none filled") << 0 << 2;
    QTest::newRow("all ten filled") << 10 << 0;
}

void TOptionsTest::addpath_fills_the_first_empty_entry() {
    QFETCH(int, filled);
    QFETCH(int, entry);
    QList<QPair<QString, QString>> stored;
    for (int k = 1; k <= filled; ++k) stored.append({search_path_key(k), QString("/p%1").arg(k)});
    Dialog dialog(stored);
    dialog.add_path("/new");
    const QStringList entries = list_entries(dialog.paths);
    QCOMPARE(entries.size(), 10);
    if (entry == 0) {
        QVERIFY(!entries.contains("/new"));
        QCOMPARE(dialog.path_edit->text(), QString("/new"));
    } else {
        QCOMPARE(entries.indexOf("/new"), entry - 1);
        QCOMPARE(dialog.path_edit->text(), QString());
    }
}

void TOptionsTest::addpath_refuses_a_path_of_fifty_characters() {
    Dialog dialog;
    const QString forty_nine = "/" + QString(48, 'a');
    dialog.add_path(forty_nine);
    QCOMPARE(dialog.paths->item(1)->text(), forty_nine);

    const QString fifty = "/" + QString(49, 'b');
    QString message;
    on_next_modal([&](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) message = box->text();
        modal->close();
    });
    dialog.add_path(fifty);
    QVERIFY2(message.contains("shorter than 50 characters") && message.contains(fifty), qPrintable(message));
    QCOMPARE(dialog.paths->item(2)->text(), QString());
    QCOMPARE(dialog.path_edit->text(), fifty);
}

void TOptionsTest::delpath_data() {
    QTest::addColumn<int>("selected");  // list row, -1 for none
    QTest::addColumn<QStringList>("expected");
    const QStringList all{"/p1", "/p2", "/p3", "/p4", "/p5", "/p6", "/p7", "/p8", "/p9", "/p10"};
    QTest::newRow("entry 3") << 2 << QStringList{"/p1", "/p2", "/p4", "/p5", "/p6", "/p7", "/p8", "/p9", "/p10", ""};
    QTest::newRow("entry 10") << 9 << QStringList{"/p1", "/p2", "/p3", "/p4", "/p5", "/p6", "/p7", "/p8", "/p9", ""};
    QTest::newRow("entry 1 is the home folder") << 0 << all;
    QTest::newRow("nothing selected") << -1 << all;
}

void TOptionsTest::delpath() {
    QFETCH(int, selected);
    QFETCH(QStringList, expected);
    QList<QPair<QString, QString>> stored;
    for (int k = 1; k <= 10; ++k) stored.append({search_path_key(k), QString("/p%1").arg(k)});
    Dialog dialog(stored);
    if (selected >= 0) dialog.paths->setCurrentRow(selected);
    dialog.click("B_Delpath");
    QCOMPARE(list_entries(dialog.paths), expected);
}

void TOptionsTest::ok_stores_every_value() {
    Dialog dialog;
    QSignalSpy accepted(dialog.dialog.get(), &TOptions::settingsAccepted);
    dialog.dialog->show();
    dialog.add_path("/home/user/calc");
    dialog.add_path("/programs");
    dialog.click("B_Save");
    QVERIFY(!dialog.dialog->isVisible());
    QCOMPARE(accepted.count(), 1);

    QSettings stored = dialog.folders.stored();
    stored.beginGroup("SearchPath");
    // The home folder shown is the default one: it stays stored as empty.
    QCOMPARE(stored.value("L1").toString(), QString());
    QCOMPARE(stored.value("L2").toString(), QString("/home/user/calc"));
    QCOMPARE(stored.value("L3").toString(), QString("/programs"));
    for (int k = 1; k <= 10; ++k) QVERIFY(stored.contains(search_path_key(k)));
    for (int k = 4; k <= 10; ++k) QCOMPARE(stored.value(search_path_key(k)).toString(), QString());
    QCOMPARE(stored.value("bkcMemo").toString(), QString("12603456"));
    QCOMPARE(stored.value("ftcMemo").toString(), QString("16777215"));
    QCOMPARE(stored.value("bkcEdit").toString(), QString("13647936"));
    QCOMPARE(stored.value("ftcEdit").toString(), QString("16777215"));
    QCOMPARE(dialog.dialog->settings().paths[2], QString("/programs"));
}

void TOptionsTest::cancel_stores_nothing_and_keeps_the_list() {
    Dialog dialog;
    QSignalSpy accepted(dialog.dialog.get(), &TOptions::settingsAccepted);
    dialog.dialog->show();
    dialog.add_path("/kept");
    dialog.click("B_Cancel");
    QVERIFY(!dialog.dialog->isVisible());
    QCOMPARE(accepted.count(), 0);
    QVERIFY(!QFile::exists(dialog.folders.settings_file()));
    QCOMPARE(dialog.dialog->settings().paths[1], QString());
    QCOMPARE(dialog.paths->item(1)->text(), QString("/kept"));
    // The next "Ok" takes the edited list.
    dialog.dialog->show();
    dialog.click("B_Save");
    QCOMPARE(dialog.dialog->settings().paths[1], QString("/kept"));
}

void TOptionsTest::a_chosen_colour_then_cancel_changes_nothing() {
    Dialog dialog;
    dialog.dialog->show();
    auto* pages = dialog.dialog->findChild<QTabWidget*>("PageControl1");
    pages->setCurrentIndex(1);
    auto* pane = dialog.dialog->findChild<ClickablePanel*>("PMemo");
    QCOMPARE(pane->colour(), QColor(0x40, 0x50, 0xC0));
    QColor preset;
    on_next_modal([&](QWidget* modal) {
        auto* colours = qobject_cast<QColorDialog*>(modal);
        if (colours == nullptr) return;
        preset = colours->currentColor();
        colours->setCurrentColor(Qt::red);
        colours->accept();
    });
    QTest::mouseClick(pane, Qt::LeftButton);
    QCOMPARE(preset, QColor(0x40, 0x50, 0xC0));
    QCOMPARE(pane->colour(), QColor(Qt::red));
    dialog.click("B_Cancel");
    QCOMPARE(dialog.dialog->settings().colours.memo_background, 0xC05040u);
    QVERIFY(!QFile::exists(dialog.folders.settings_file()));
    // Showing the tab again shows the stored colours.
    dialog.dialog->show();
    pages->setCurrentIndex(0);
    pages->setCurrentIndex(1);
    QCOMPARE(pane->colour(), QColor(0x40, 0x50, 0xC0));
}

void TOptionsTest::a_chosen_colour_then_ok_is_stored() {
    Dialog dialog;
    QSignalSpy accepted(dialog.dialog.get(), &TOptions::settingsAccepted);
    dialog.dialog->show();
    dialog.dialog->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
    on_next_modal([](QWidget* modal) {
        if (auto* colours = qobject_cast<QColorDialog*>(modal)) {
            colours->setCurrentColor(QColor(0x01, 0x02, 0x03));
            colours->accept();
        }
    });
    QTest::mouseClick(dialog.dialog->findChild<ClickableLabel*>("LEdit"), Qt::LeftButton);
    dialog.click("B_Save");
    QCOMPARE(accepted.count(), 1);
    const auto settings = accepted.front().front().value<Settings>();
    QCOMPARE(settings.colours.edit_text, 0x030201u);
    QSettings stored = dialog.folders.stored();
    QCOMPARE(stored.value("SearchPath/ftcEdit").toString(), QString::number(0x030201));
    QCOMPARE(stored.value("SearchPath/bkcEdit").toString(), QString("13647936"));
}

void TOptionsTest::an_empty_home_folder_is_the_per_user_data_folder() {
    test::TestFolders folders;
    SearchPathList paths;
    paths[1] = "/second";
    const SessionSearchPaths session_paths = session_search_paths(paths);
    QCOMPARE(QString::fromStdString(session_paths[0]), qEnvironmentVariable("XDG_DATA_HOME") + "/ostrac");
    QCOMPARE(session_paths[1], std::string("/second"));
    paths[0] = "/mine";
    QCOMPARE(session_search_paths(paths)[0], std::string("/mine"));
}

void TOptionsTest::session_options_are_stored_and_read_back() {
    Dialog dialog;
    auto* digits = dialog.dialog->findChild<QSpinBox*>("E_digits");
    auto* autosave = dialog.dialog->findChild<QCheckBox*>("CK_autosave");
    QCOMPARE(digits->value(), 10);
    QVERIFY(autosave->isChecked());
    dialog.dialog->show();
    digits->setValue(4);
    dialog.dialog->findChild<QComboBox*>("CB_notation")->setCurrentIndex(2);
    dialog.dialog->findChild<QCheckBox*>("CK_grouping")->setChecked(true);
    autosave->setChecked(false);
    dialog.click("B_Save");
    SessionOptions expected;
    expected.display = {4, ostrac::state::Notation::Scientific, true};
    expected.autosave = false;
    QVERIFY(dialog.dialog->settings().session == expected);
    QCOMPARE(dialog.folders.stored().value("Display/Notation").toString(), QString("sci"));
    QVERIFY(TOptions().settings().session == expected);
    // Cancel shows the options in effect again.
    dialog.dialog->show();
    digits->setValue(7);
    dialog.click("B_Cancel");
    QCOMPARE(digits->value(), 4);
}

void TOptionsTest::stored_session_options_are_read_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("digits");
    QTest::addColumn<int>("notation");
    QTest::newRow("digits") << "Display/Digits" << "3" << 3 << 0;
    QTest::newRow("too many digits") << "Display/Digits" << "18" << 10 << 0;
    QTest::newRow("notation") << "Display/Notation" << "eng" << 10 << 3;
    QTest::newRow("unknown notation") << "Display/Notation" << "roman" << 10 << 0;
}

void TOptionsTest::stored_session_options_are_read() {
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(int, digits);
    QFETCH(int, notation);
    test::TestFolders folders;
    folders.stored().setValue(key, value);
    const TOptions dialog;
    QCOMPARE(dialog.settings().session.display.digits, digits);
    QCOMPARE(static_cast<int>(dialog.settings().session.display.notation), notation);
}

void TOptionsTest::entry_1_shows_the_home_folder_in_use_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("default_folder");
    QTest::newRow("nothing stored") << "" << true;
    QTest::newRow("a folder of the user's") << "/mine" << false;
}

void TOptionsTest::entry_1_shows_the_home_folder_in_use() {
    QFETCH(QString, stored);
    QFETCH(bool, default_folder);
    Dialog dialog({qMakePair(QString("L1"), stored)});
    const QString shown = default_folder ? default_home() : stored;
    QCOMPARE(dialog.paths->item(0)->text(), shown);
    QCOMPARE(QString::fromStdString(session_search_paths(dialog.dialog->settings().paths)[0]), shown);
    // The dialog says what entry 1 is.
    auto* note = dialog.dialog->findChild<QLabel*>("LHome");
    QVERIFY(note != nullptr);
    QVERIFY2(note->text().contains("Entry 1 is the home folder"), qPrintable(note->text()));
    // Ok stores it as it was stored: the default folder as an empty entry.
    dialog.dialog->show();
    dialog.click("B_Save");
    QCOMPARE(dialog.folders.stored().value("SearchPath/L1").toString(), stored);
}

void TOptionsTest::the_home_folder_changes_only_on_purpose_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<QString>("stored");  // L1 after Ok
    QTest::newRow("a new home folder") << "/new/home" << true << "/new/home";
    QTest::newRow("declined") << "/new/home" << false << "/old";
    QTest::newRow("back to the default folder") << "" << true << "";
}

void TOptionsTest::the_home_folder_changes_only_on_purpose() {
    QFETCH(QString, typed);
    QFETCH(bool, confirmed);
    QFETCH(QString, stored);
    Dialog dialog({qMakePair(QString("L1"), QString("/old"))});
    dialog.dialog->show();
    dialog.path_edit->setText(typed);
    QString question;
    on_next_modal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr) return;
        question = box->text();
        box->button(confirmed ? QMessageBox::Yes : QMessageBox::No)->click();
    });
    dialog.click("B_Sethome");
    const QString target = typed.isEmpty() ? default_home() : typed;
    QVERIFY2(question.contains(target) && question.contains("data.bin") && question.contains("/old"),
             qPrintable(question));
    QCOMPARE(dialog.paths->item(0)->text(), confirmed ? target : QString("/old"));
    dialog.click("B_Save");
    QCOMPARE(dialog.folders.stored().value("SearchPath/L1").toString(), stored);
}

QTEST_MAIN(TOptionsTest)
#include "toptions_test.moc"
