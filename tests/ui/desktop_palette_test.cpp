// The windows follow the desktop's palette, light or dark: their texts stay
// readable on their backgrounds under both, while the console's output pane
// and entry field keep the colours the user chose.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTest>

#include "common/clickable_label.h"
#include "console/entry_field.h"
#include "console/output_pane.h"
#include "console/tform1.h"
#include "editor/code_edit.h"
#include "editor/program_highlighter.h"
#include "wizard/tfwizard.h"
#include "ui_test_support.h"

using namespace ostrac::ui;
using Kind = ostrac::ui::SyntaxSpan::Kind;

namespace {

using test::contrast;
using test::dark_palette;
using test::light_palette;

constexpr Kind all_kinds[] = {Kind::Keyword, Kind::Builtin, Kind::Number, Kind::String, Kind::Comment};

}  // namespace

class DesktopPaletteTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QApplication::setPalette(light_palette()); }

    void the_console_panel_follows_the_palette_and_the_panes_keep_the_user_colours_data();
    void the_console_panel_follows_the_palette_and_the_panes_keep_the_user_colours();
    void program_text_is_coloured_for_the_background_data();
    void program_text_is_coloured_for_the_background();
    void the_editor_recolours_when_the_desktop_switches();
    void the_wizard_texts_stay_readable_data();
    void the_wizard_texts_stay_readable();
};

void DesktopPaletteTest::the_console_panel_follows_the_palette_and_the_panes_keep_the_user_colours_data() {
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("light") << light_palette();
    QTest::newRow("dark") << dark_palette();
}

void DesktopPaletteTest::the_console_panel_follows_the_palette_and_the_panes_keep_the_user_colours() {
    QFETCH(QPalette, palette);
    QApplication::setPalette(palette);
    test::TestFolders folders;
    Settings settings = Settings::defaults();
    settings.paths[0] = folders.home();
    settings.colours = {0x204060, 0x80FFFF, 0x102030, 0xFFFF80};  // 0x00BBGGRR
    SettingsStore::write(settings);

    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.start();

    const auto* panel = form.findChild<QWidget*>("Panel1");
    QCOMPARE(panel->palette().color(QPalette::Window), palette.color(QPalette::Window));
    QCOMPARE(form.palette().color(QPalette::Window), palette.color(QPalette::Window));
    for (const char* name : {"Lmode", "Lvmode", "Label1", "LEntry", "BBreak"}) {
        const auto* control = form.findChild<QWidget*>(name);
        QVERIFY2(contrast(control->palette().color(control->foregroundRole()), palette.color(QPalette::Window)) >= 4.5,
                 name);
    }
    // Break keeps its designed blue caption, lightened where the panel is dark.
    const QColor break_text = form.findChild<QWidget*>("BBreak")->palette().color(QPalette::ButtonText);
    QVERIFY2(break_text.hslHue() >= 220 && break_text.hslHue() <= 245 && break_text.hslSaturation() > 200,
             qPrintable(break_text.name()));
    const auto* memo = form.findChild<OutputPane*>("Memo1");
    const auto* edit = form.findChild<EntryField*>("Edit1");
    QCOMPARE(memo->palette().color(QPalette::Base), QColor(0x60, 0x40, 0x20));
    QCOMPARE(memo->palette().color(QPalette::Text), QColor(0xFF, 0xFF, 0x80));
    QCOMPARE(edit->palette().color(QPalette::Base), QColor(0x30, 0x20, 0x10));
    QCOMPARE(edit->palette().color(QPalette::Text), QColor(0x80, 0xFF, 0xFF));
    // The pane draws the user's background, not the palette's.
    const QImage shot = form.grab().toImage();
    QDir().mkpath(QStringLiteral(OSTRAC_TEST_OUTPUT_DIR "/screenshots"));
    const QString path =
        QStringLiteral(OSTRAC_TEST_OUTPUT_DIR "/screenshots/console-%1.png").arg(QTest::currentDataTag());
    QVERIFY(shot.save(path));
    qInfo("screenshot saved as %s", qPrintable(path));
    const QWidget* viewport = memo->viewport();
    const QPoint pane_point = viewport->mapTo(&form, QPoint(viewport->width() - 4, 2)) * shot.devicePixelRatio();
    QCOMPARE(shot.pixelColor(pane_point), QColor(0x60, 0x40, 0x20));
}

void DesktopPaletteTest::program_text_is_coloured_for_the_background_data() {
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("light") << light_palette();
    QTest::newRow("dark") << dark_palette();
}

void DesktopPaletteTest::program_text_is_coloured_for_the_background() {
    QFETCH(QPalette, palette);
    QApplication::setPalette(palette);
    CodeEdit edit;
    edit.setPlainText("for i = 1 to 3 ' count\nprint \"x\", sin(i)");
    edit.resize(300, 120);
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    const QColor base = edit.palette().color(QPalette::Base);
    QCOMPARE(base, palette.color(QPalette::Base));
    for (Kind kind : all_kinds) {
        const QColor colour = edit.highlighter()->format_of(kind).foreground().color();
        QVERIFY2(contrast(colour, base) >= 3.0, qPrintable(colour.name()));
    }
    // The line numbers sit on the palette's window colour.
    const QImage margin = edit.line_number_area()->grab().toImage();
    QCOMPARE(margin.pixelColor(1, margin.height() - 2), palette.color(QPalette::Window));
}

void DesktopPaletteTest::the_editor_recolours_when_the_desktop_switches() {
    QApplication::setPalette(light_palette());
    CodeEdit edit;
    edit.setPlainText("while x < 3 do\nx = x + 1\nendwhile");
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    const QColor light_keyword = edit.highlighter()->format_of(Kind::Keyword).foreground().color();

    QApplication::setPalette(dark_palette());
    QCoreApplication::processEvents();
    const QColor dark_base = edit.palette().color(QPalette::Base);
    QCOMPARE(dark_base, dark_palette().color(QPalette::Base));
    for (Kind kind : all_kinds) {
        QVERIFY(contrast(edit.highlighter()->format_of(kind).foreground().color(), dark_base) >= 3.0);
    }
    QVERIFY(edit.highlighter()->format_of(Kind::Keyword).foreground().color() != light_keyword);
    // The text already shown is coloured anew, not only text typed later.
    const QTextLayout* layout = edit.document()->firstBlock().layout();
    QVERIFY(!layout->formats().isEmpty());
    QCOMPARE(layout->formats().first().format.foreground().color(),
             edit.highlighter()->format_of(Kind::Keyword).foreground().color());

    QApplication::setPalette(light_palette());
    QCoreApplication::processEvents();
    QCOMPARE(edit.highlighter()->format_of(Kind::Keyword).foreground().color(), light_keyword);
}

void DesktopPaletteTest::the_wizard_texts_stay_readable_data() {
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("light") << light_palette();
    QTest::newRow("dark") << dark_palette();
}

void DesktopPaletteTest::the_wizard_texts_stay_readable() {
    QFETCH(QPalette, palette);
    QApplication::setPalette(palette);
    TFWizard wizard;
    wizard.show();
    QVERIFY(QTest::qWaitForWindowExposed(&wizard));
    QCOMPARE(wizard.palette().color(QPalette::Window), palette.color(QPalette::Window));
    for (const char* name : {"Mfndesc", "Mpdesc"}) {
        const auto* memo = wizard.findChild<QPlainTextEdit*>(name);
        const QWidget* viewport = memo->viewport();
        const QColor background = viewport->palette().color(viewport->backgroundRole());
        QVERIFY2(contrast(memo->palette().color(QPalette::Text), background) >= 4.5, name);
    }
    for (const char* name : {"Label1", "LCU_Value"}) {
        const auto* label = wizard.findChild<QLabel*>(name);
        const QWidget* holder = label->parentWidget();
        QVERIFY2(contrast(label->palette().color(label->foregroundRole()),
                          holder->palette().color(holder->backgroundRole())) >= 4.5,
                 name);
    }
}

QTEST_MAIN(DesktopPaletteTest)
#include "desktop_palette_test.moc"
