// Rendering on a high-density screen: the console and the chart drawn at
// device pixel ratio 2 have twice the pixels of their logical size and are
// drawn at that density (sharp text and lines), not enlarged from a ratio 1
// picture. Every window is also saved at ratio 1 and 2 as a screenshot.
#include <QApplication>
#include <QChartView>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QPixmap>
#include <QSet>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>

#include "chart/tfgraph.h"
#include "console/entry_field.h"
#include "console/help_window.h"
#include "console/tabout_box.h"
#include "console/tform1.h"
#include "console_test_support.h"
#include "options/toptions.h"
#include "ui_test_support.h"

using ostrac::session::RunState;
using namespace ostrac::ui;

namespace {

// The widget drawn into a picture of the given device pixel ratio, saved in
// the build folder as NAME-RATIOx.png.
QImage render(QWidget* widget, qreal ratio, const QString& name) {
    QPixmap pixmap(widget->size() * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    widget->render(&pixmap);
    const QString folder = QStringLiteral(OSTRAC_TEST_OUTPUT_DIR "/screenshots");
    QDir().mkpath(folder);
    const QString path = QStringLiteral("%1/%2-%3x.png").arg(folder, name).arg(ratio);
    if (!pixmap.save(path)) qWarning("cannot save %s", qPrintable(path));
    qInfo("screenshot saved as %s", qPrintable(path));
    return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
}

// Sum of the squared brightness steps between neighbouring pixels. An edge
// drawn at twice the density has twice the length in pixels and the same
// steep step; the same edge enlarged smoothly is spread over two smaller
// steps, which count only half as much.
double edge_energy(const QImage& image) {
    double sum = 0;
    for (int y = 0; y + 1 < image.height(); ++y) {
        for (int x = 0; x + 1 < image.width(); ++x) {
            const int here = qGray(image.pixel(x, y));
            const int right = qGray(image.pixel(x + 1, y));
            const int below = qGray(image.pixel(x, y + 1));
            sum += double(right - here) * (right - here) + double(below - here) * (below - here);
        }
    }
    return sum;
}

// Share of the 2 x 2 pixel blocks that are not of one colour, among those
// that differ from their right neighbour block: 0 for a picture enlarged by
// doubling each pixel.
double split_block_share(const QImage& image) {
    int edged = 0;
    int split = 0;
    for (int y = 0; y + 1 < image.height(); y += 2) {
        for (int x = 0; x + 3 < image.width(); x += 2) {
            const QRgb corner = image.pixel(x, y);
            const bool uniform = image.pixel(x + 1, y) == corner && image.pixel(x, y + 1) == corner &&
                                 image.pixel(x + 1, y + 1) == corner;
            if (image.pixel(x + 2, y) == corner && uniform) continue;
            ++edged;
            if (!uniform) ++split;
        }
    }
    return edged == 0 ? 0.0 : double(split) / edged;
}

// Checks that the ratio 2 picture is twice the size and drawn at that
// density: clearly sharper than the ratio 1 picture enlarged smoothly, and
// not the ratio 1 picture with its pixels doubled.
void verify_drawn_at_double_density(const QImage& single, const QImage& twice, const QSize& logical) {
    QCOMPARE(single.size(), logical);
    QCOMPARE(twice.size(), logical * 2);
    const QImage smooth = single.scaled(twice.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const double sharp = edge_energy(twice);
    const double enlarged = edge_energy(smooth);
    qInfo("edge energy: drawn at ratio 2 %.0f, ratio 1 enlarged %.0f (%.2f times); split blocks %.2f", sharp,
          enlarged, sharp / enlarged, split_block_share(twice));
    QVERIFY(sharp > 1.4 * enlarged);
    QVERIFY(split_block_share(twice) > 0.2);
}

}  // namespace

class HighDpiTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void the_console_is_drawn_at_double_density();
    void the_chart_is_drawn_at_double_density();
    void every_window_is_saved_at_both_ratios();

private:
    bool wait_idle();
    void command(const QString& line);

    std::unique_ptr<test::TestFolders> folders_;
    std::unique_ptr<TForm1> form_;
};

void HighDpiTest::initTestCase() {
    folders_ = std::make_unique<test::TestFolders>();
    folders_->store_defaults_with_home();
    form_ = std::make_unique<TForm1>();
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    form_->start();
    QVERIFY(wait_idle());
}

void HighDpiTest::cleanupTestCase() {
    form_.reset();
    folders_.reset();
}

bool HighDpiTest::wait_idle() { return test::wait_until_idle(*form_); }

void HighDpiTest::command(const QString& line) {
    form_->console_set_entry(line);
    form_->console_submit();
    QVERIFY(wait_idle());
}

void HighDpiTest::the_console_is_drawn_at_double_density() {
    command("x = 6");
    command("print x * 7, sqrt(2)");
    command("m = [1, 2; 3, 4]: m * m");
    form_->console_set_entry("print x");
    const QImage single = render(form_.get(), 1, "console");
    const QImage twice = render(form_.get(), 2, "console");
    verify_drawn_at_double_density(single, twice, form_->size());
}

void HighDpiTest::the_chart_is_drawn_at_double_density() {
    command("setserie(2, 2, \"bars\"): seriey(1, [1, 4, 9, 16]): seriey(2, [3, 2, 1, 2])");
    command("titles(\"Squares and bars\", \"n\", \"value\")");
    TFGraph* graph = form_->graph_window();
    graph->show();
    QVERIFY(QTest::qWaitForWindowExposed(graph));
    QTest::qWait(50);
    const QImage single = render(graph, 1, "chart");
    const QImage twice = render(graph, 2, "chart");
    verify_drawn_at_double_density(single, twice, graph->size());
    graph->hide();
}

void HighDpiTest::every_window_is_saved_at_both_ratios() {
    auto* options = form_->findChild<TOptions*>("TOptions");
    QVERIFY(options);
    options->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);  // the colours
    options->show();
    QVERIFY(QTest::qWaitForWindowExposed(options));

    TAboutBox about(form_.get());
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));

    HelpWindow* help = form_->help_window();
    QVERIFY(help->show_file(QDir(folders_->home()).filePath(HelpWindow::file_name)));
    QVERIFY(QTest::qWaitForWindowExposed(help));

    const std::pair<QWidget*, const char*> windows[] = {{options, "options"}, {&about, "about"}, {help, "help"}};
    for (const auto& [window, name] : windows) {
        for (const qreal ratio : {1.0, 2.0}) {
            const QImage shot = render(window, ratio, name);
            QCOMPARE(shot.size(), window->size() * ratio);
            // The window's texts are drawn: anti-aliased glyph edges give
            // many shades, an empty window a handful.
            QSet<QRgb> shades;
            for (int y = 0; y < shot.height(); ++y) {
                for (int x = 0; x < shot.width(); ++x) shades.insert(shot.pixel(x, y));
            }
            QVERIFY2(shades.size() > 16, name);
        }
    }
    options->hide();
    help->hide();
}

QTEST_MAIN(HighDpiTest)
#include "high_dpi_test.moc"
