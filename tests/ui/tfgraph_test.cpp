// The graph window and its chart component: series tables drawn through the
// redraw, the layout when the window is resized, the titles, printing, and
// the queued calls the worker side makes.
#include <QApplication>
#include <QAreaSeries>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QPointer>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QValueAxis>
#include <algorithm>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "chart/pie_labels.h"
#include "chart/qt_chart.h"
#include "chart/tfgraph.h"
#include "ui_test_support.h"

using ostrac::graph::GraphType;
using ostrac::graph::Point;
using ostrac::graph::SeriesTable;
using namespace ostrac::ui;

Q_DECLARE_METATYPE(ostrac::graph::GraphType)

namespace {

struct SlotContent {
    int slot = 0;
    GraphType type = GraphType::Lines;
    std::string title;
    std::vector<Point> points;
};

SeriesTable table_of(std::initializer_list<SlotContent> contents) {
    SeriesTable table;
    for (const SlotContent& content : contents) {
        table[content.slot].type = content.type;
        table[content.slot].set_title(content.title);
        table[content.slot].points = content.points;
    }
    return table;
}

const std::vector<Point> three_points{{1, 10}, {2, 20}, {3, 30}};
// The x values of bars, areas and pies are not used: values go in point order.
const std::vector<Point> unordered_points{{5, 3}, {1, 7}, {9, 2}};

QList<qreal> values_of(const QAbstractSeries* series) {
    QList<qreal> values;
    if (const auto* pie = qobject_cast<const QPieSeries*>(series)) {
        for (const QPieSlice* slice : pie->slices()) values.append(slice->value());
    } else if (const auto* bars = qobject_cast<const QBarSeries*>(series)) {
        const QBarSet* set = bars->barSets().front();
        for (int i = 0; i < set->count(); ++i) values.append(set->at(i));
    } else if (const auto* area = qobject_cast<const QAreaSeries*>(series)) {
        for (const QPointF& point : area->upperSeries()->points()) values.append(point.y());
    }
    return values;
}

QStringList visible_legend_labels(const QChart* chart) {
    QStringList labels;
    for (const QLegendMarker* marker : chart->legend()->markers()) {
        if (marker->isVisible()) labels.append(marker->label());
    }
    return labels;
}

// The series that show values: an empty chart keeps its axes with an empty
// line, which holds none.
QList<QAbstractSeries*> drawn_series(const QChart* chart) {
    QList<QAbstractSeries*> drawn;
    for (QAbstractSeries* series : chart->series()) {
        const auto* line = qobject_cast<const QLineSeries*>(series);
        if (line == nullptr || line->count() > 0) drawn.append(series);
    }
    return drawn;
}

// The colour a series is drawn and listed in.
QColor colour_of(const QAbstractSeries* series) {
    if (const auto* line = qobject_cast<const QLineSeries*>(series)) return line->color();
    if (const auto* area = qobject_cast<const QAreaSeries*>(series)) return area->borderColor();
    if (const auto* bars = qobject_cast<const QBarSeries*>(series)) return bars->barSets().front()->color();
    return qobject_cast<const QPieSeries*>(series)->slices().front()->brush().color();
}

// Runs `action` on the next modal dialog that opens, from the event loop.
void on_next_modal(std::function<void(QWidget*)> action) {
    QTimer::singleShot(0, [action = std::move(action)] {
        if (QWidget* modal = QApplication::activeModalWidget()) action(modal);
    });
}

bool is_pdf_file(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.size() > 1000 && file.read(5) == "%PDF-";
}

// A graph window that has been shown, as the console's Graph button does.
struct Window {
    Window() {
        graph.show();
        if (!QTest::qWaitForWindowExposed(&graph)) qFatal("the graph window was not shown");
    }

    QChart* chart() const { return graph.chart_view()->chart(); }
    QPushButton* button() const { return graph.findChild<QPushButton*>("PButton"); }
    QValueAxis* x_axis() const { return graph.chart().x_axis(); }
    QValueAxis* y_axis() const { return graph.chart().y_axis(); }

    TFGraph graph;
};

}  // namespace

class TFGraphTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void window_and_controls_have_their_designed_places_data();
    void window_and_controls_have_their_designed_places();
    void opening_before_any_command_shows_an_empty_chart();
    void the_chart_has_its_designed_colours_and_title_font();
    void a_redraw_shows_the_filled_slots_data();
    void a_redraw_shows_the_filled_slots();
    void a_line_keeps_its_points();
    void pie_bars_and_area_take_the_values_in_point_order_data();
    void pie_bars_and_area_take_the_values_in_point_order();
    void axes_fit_the_data_with_a_small_margin_data();
    void axes_fit_the_data_with_a_small_margin();
    void the_legend_lists_one_line_per_series_with_its_title();
    void every_series_has_its_own_readable_colour();
    void pie_slices_have_distinct_colours_and_labels_that_do_not_overlap_data();
    void pie_slices_have_distinct_colours_and_labels_that_do_not_overlap();
    void a_cleared_slot_disappears_and_its_series_object_is_kept();
    void destroying_the_window_frees_its_series_at_once();
    void resizing_keeps_the_button_under_the_chart_data();
    void resizing_keeps_the_button_under_the_chart();
    void set_titles_sets_the_three_titles();
    void main_title_lines_data();
    void main_title_lines();
    void calls_from_another_thread_arrive_queued();
    void double_click_changes_nothing();
    void printing_to_a_pdf_file_gives_one_page();
    void printing_to_an_unwritable_file_fails();
    void print_button_without_a_printer_asks_for_a_pdf_file();
    void screenshot_of_a_small_line_chart();
    void the_chart_saves_as_png_and_svg();
};

void TFGraphTest::window_and_controls_have_their_designed_places_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("Chart1") << "Chart1";
    QTest::newRow("PButton") << "PButton";
}

void TFGraphTest::window_and_controls_have_their_designed_places() {
    QFETCH(QString, name);
    Window window;
    const TFGraph& graph = window.graph;
    QVERIFY(graph.findChild<QWidget*>(name) != nullptr);
    constexpr test::DesignedPlace places[] = {{"Chart1", {0, 0, 249, 217}}, {"PButton", {0, 224, 49, 17}}};
    const QStringList faults = test::arrangement_faults(&graph, places);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    QCOMPARE(graph.pos(), QPoint(75, 13));
    QVERIFY(graph.width() >= 250 && graph.height() >= 241);
    QCOMPARE(graph.windowTitle(), QString("OSTRAC GRAPH"));
    QVERIFY(graph.isWindow());
    QVERIFY(graph.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(graph.findChild<QPushButton*>("PButton")->text(), QString("Print"));
    QCOMPARE(graph.chart_view(), graph.findChild<QChartView*>("Chart1"));
}

void TFGraphTest::opening_before_any_command_shows_an_empty_chart() {
    Window window;
    QVERIFY(drawn_series(window.chart()).isEmpty());
    QVERIFY(!window.chart()->legend()->isVisible());
    QVERIFY(window.chart()->title().isEmpty());
    QCOMPARE(window.x_axis()->titleText(), QString("X"));
    QCOMPARE(window.y_axis()->titleText(), QString("Y"));
    QVERIFY(window.x_axis()->isVisible());
    QVERIFY(window.y_axis()->isVisible());
    QCOMPARE(window.chart()->axes(Qt::Horizontal), QList<QAbstractAxis*>{window.x_axis()});
    QCOMPARE(window.chart()->axes(Qt::Vertical), QList<QAbstractAxis*>{window.y_axis()});
    // The axes are drawn: their labels and titles darken the background
    // below and left of the plot area.
    QTest::qWait(20);
    const QImage shot = window.graph.chart_view()->grab().toImage();
    const QRect plot = window.chart()->plotArea().toAlignedRect();
    const auto dark_pixels = [&shot](const QRect& band) {
        int dark = 0;
        for (int y = band.top(); y <= band.bottom(); ++y) {
            for (int x = band.left(); x <= band.right(); ++x) dark += qGray(shot.pixel(QPoint(x, y) * shot.devicePixelRatio())) < 128;
        }
        return dark;
    };
    QVERIFY(dark_pixels(QRect(QPoint(plot.left(), plot.bottom() + 3), QPoint(plot.right(), shot.height() / shot.devicePixelRatio() - 1))) > 20);
    QVERIFY(dark_pixels(QRect(QPoint(0, plot.top()), QPoint(plot.left() - 3, plot.bottom()))) > 20);
    // The Print button sits under the chart, which fills the width less one pixel.
    QCOMPARE(window.graph.chart_view()->geometry(), QRect(0, 0, window.graph.width() - 1, window.button()->y()));
    QCOMPARE(window.button()->geometry().bottom(), window.graph.height() - 1);
}

void TFGraphTest::the_chart_has_its_designed_colours_and_title_font() {
    TFGraph graph;
    const QChart* chart = graph.chart_view()->chart();
    const QGradient* gradient = chart->backgroundBrush().gradient();
    QVERIFY(gradient != nullptr);
    QCOMPARE(gradient->stops().back().second, QColor(0xD8, 0xFF, 0xAC));
    QVERIFY(chart->isPlotAreaBackgroundVisible());
    QCOMPARE(chart->plotAreaBackgroundBrush().color(), QColor(0xFF, 0xFF, 0x80));
    QCOMPARE(chart->titleFont().family(), QString("Arial"));
    QCOMPARE(chart->titleFont().pixelSize(), 16);
    QCOMPARE(chart->titleBrush().color(), QColor(Qt::blue));
}

void TFGraphTest::a_redraw_shows_the_filled_slots_data() {
    QTest::addColumn<SeriesTable>("table");
    QTest::addColumn<QList<int>>("kinds");
    QTest::addColumn<bool>("legend");
    QTest::addColumn<bool>("axes");
    using Kind = QAbstractSeries::SeriesType;
    QTest::newRow("nothing filled") << SeriesTable() << QList<int>{} << false << true;
    QTest::newRow("a line in slot 3") << table_of({{3, GraphType::Lines, "", three_points}})
                                      << QList<int>{Kind::SeriesTypeLine} << false << true;
    QTest::newRow("a named pie") << table_of({{1, GraphType::Pie, "share", three_points}})
                                 << QList<int>{Kind::SeriesTypePie} << true << false;
    QTest::newRow("a line after the pie shows the axes again")
        << table_of({{1, GraphType::Pie, "share", three_points}, {2, GraphType::Lines, "", three_points}})
        << QList<int>{Kind::SeriesTypePie, Kind::SeriesTypeLine} << true << true;
    QTest::newRow("a pie after the line hides the axes")
        << table_of({{0, GraphType::Lines, "", three_points}, {5, GraphType::Pie, "", three_points}})
        << QList<int>{Kind::SeriesTypeLine, Kind::SeriesTypePie} << false << false;
    QTest::newRow("bars and area") << table_of({{4, GraphType::Bars, "", three_points},
                                                 {6, GraphType::Area, "", three_points}})
                                   << QList<int>{Kind::SeriesTypeBar, Kind::SeriesTypeArea} << false << true;
    QTest::newRow("a title without points shows the legend")
        << table_of({{7, GraphType::Lines, "empty", {}}, {8, GraphType::Bars, "", three_points}})
        << QList<int>{Kind::SeriesTypeBar} << true << true;
}

void TFGraphTest::a_redraw_shows_the_filled_slots() {
    QFETCH(SeriesTable, table);
    QFETCH(QList<int>, kinds);
    QFETCH(bool, legend);
    QFETCH(bool, axes);
    Window window;
    // A first drawing with a pie and a legend must not leak into the next.
    window.graph.showSeries(table_of({{9, GraphType::Pie, "before", three_points}}));
    window.graph.showSeries(table);
    QList<int> shown;
    for (const QAbstractSeries* series : drawn_series(window.chart())) shown.append(series->type());
    QCOMPARE(shown, kinds);
    QCOMPARE(window.chart()->legend()->isVisible(), legend);
    if (kinds.isEmpty()) return;  // with nothing drawn the axes stay as they were
    QCOMPARE(window.x_axis()->isVisible(), axes);
    QCOMPARE(window.y_axis()->isVisible(), axes);
}

void TFGraphTest::a_line_keeps_its_points() {
    Window window;
    window.graph.showSeries(table_of({{3, GraphType::Lines, "", three_points}}));
    QCOMPARE(window.chart()->series().size(), 1);
    auto* line = qobject_cast<QLineSeries*>(window.chart()->series().front());
    QVERIFY(line != nullptr);
    QCOMPARE(line->points(), (QList<QPointF>{{1, 10}, {2, 20}, {3, 30}}));
    QCOMPARE(line, window.graph.chart().series(3));
    QCOMPARE(line->attachedAxes(), (QList<QAbstractAxis*>{window.x_axis(), window.y_axis()}));
    QVERIFY(!window.chart()->legend()->isVisible());
}

void TFGraphTest::pie_bars_and_area_take_the_values_in_point_order_data() {
    QTest::addColumn<GraphType>("type");
    QTest::newRow("pie") << GraphType::Pie;
    QTest::newRow("bars") << GraphType::Bars;
    QTest::newRow("area") << GraphType::Area;
}

void TFGraphTest::pie_bars_and_area_take_the_values_in_point_order() {
    QFETCH(GraphType, type);
    Window window;
    window.graph.showSeries(table_of({{2, type, "", unordered_points}}));
    QAbstractSeries* series = window.graph.chart().series(2);
    QCOMPARE(values_of(series), (QList<qreal>{3, 7, 2}));
    QCOMPARE(drawn_series(window.chart()), QList<QAbstractSeries*>{series});
    if (const auto* bars = qobject_cast<const QBarSeries*>(series)) QVERIFY(!bars->isLabelsVisible());
    if (const auto* area = qobject_cast<const QAreaSeries*>(series)) {
        QVERIFY(!area->pointLabelsVisible());
        // The chart numbers the values itself.
        QCOMPARE(area->upperSeries()->points(), (QList<QPointF>{{0, 3}, {1, 7}, {2, 2}}));
        QVERIFY(area->lowerSeries() == nullptr);
    }
    if (const auto* pie = qobject_cast<const QPieSeries*>(series)) {
        QStringList labels;
        for (const QPieSlice* slice : pie->slices()) labels.append(slice->label());
        QCOMPARE(labels, (QStringList{"25%", "58.3%", "16.7%"}));
        QVERIFY(series->attachedAxes().isEmpty());
    }
}

void TFGraphTest::axes_fit_the_data_with_a_small_margin_data() {
    QTest::addColumn<SeriesTable>("table");
    QTest::addColumn<QRectF>("data");  // the part of the plane that must be visible
    QTest::newRow("line") << table_of({{3, GraphType::Lines, "", three_points}}) << QRectF(1, 10, 2, 20);
    QTest::newRow("negative line") << table_of({{0, GraphType::Lines, "", {{-50, -0.25F}, {-40, -0.5F}}}})
                                   << QRectF(-50, -0.5, 10, 0.25);
    QTest::newRow("one point") << table_of({{0, GraphType::Lines, "", {{4, 4}}}}) << QRectF(3, 3, 2, 2);
    QTest::newRow("x from 1") << table_of({{0, GraphType::Lines, "", {{1, 5}, {2, 7}, {9, 6}}}}) << QRectF(1, 5, 8, 2);
    QTest::newRow("x from 0") << table_of({{0, GraphType::Lines, "", {{0, 1}, {3, 2}}}}) << QRectF(0, 1, 3, 1);
    // Bars stand on zero, each half a position wide around its position.
    QTest::newRow("bars") << table_of({{2, GraphType::Bars, "", unordered_points}}) << QRectF(-0.5, 0, 3, 7);
    QTest::newRow("area") << table_of({{2, GraphType::Area, "", {{0, -4}, {0, 8}}}}) << QRectF(0, -4, 1, 12);
    QTest::newRow("line and bars")
        << table_of({{0, GraphType::Lines, "", {{10, 100}}}, {1, GraphType::Bars, "", unordered_points}})
        << QRectF(-0.5, 0, 10.5, 100);
    // The example of the help: a line from x = 1 and three bars.
    QTest::newRow("help's line and bars")
        << table_of({{1, GraphType::Lines, "", {{1, 3}, {2, 1}, {3, 4}, {4, 1}, {5, 5}}},
                     {2, GraphType::Bars, "sales", {{1, 5}, {2, 7}, {3, 6}}}})
        << QRectF(-0.5, 0, 5.5, 7);
}

void TFGraphTest::axes_fit_the_data_with_a_small_margin() {
    QFETCH(SeriesTable, table);
    QFETCH(QRectF, data);
    Window window;
    window.graph.showSeries(table);
    QVERIFY2(window.x_axis()->min() <= data.left() && window.x_axis()->max() >= data.right(),
             qPrintable(QString("x axis %1 to %2").arg(window.x_axis()->min()).arg(window.x_axis()->max())));
    QVERIFY2(window.y_axis()->min() <= data.top() && window.y_axis()->max() >= data.bottom(),
             qPrintable(QString("y axis %1 to %2").arg(window.y_axis()->min()).arg(window.y_axis()->max())));
    // The axes fit the data with a small margin, not the next round numbers.
    QVERIFY2(window.x_axis()->max() - window.x_axis()->min() <= 1.25 * data.width(),
             qPrintable(QString("x axis %1 to %2").arg(window.x_axis()->min()).arg(window.x_axis()->max())));
    QVERIFY2(window.y_axis()->max() - window.y_axis()->min() <= 1.25 * data.height(),
             qPrintable(QString("y axis %1 to %2").arg(window.y_axis()->min()).arg(window.y_axis()->max())));
}

void TFGraphTest::the_legend_lists_one_line_per_series_with_its_title() {
    Window window;
    window.graph.showSeries(table_of({{0, GraphType::Lines, "alpha", three_points},
                                      {1, GraphType::Pie, "beta", unordered_points},
                                      {2, GraphType::Bars, "gamma", unordered_points},
                                      {3, GraphType::Area, "delta", unordered_points},
                                      {4, GraphType::Lines, "", three_points}}));
    QVERIFY(window.chart()->legend()->isVisible());
    // The untitled line has no line of its own.
    QTRY_COMPARE(visible_legend_labels(window.chart()), (QStringList{"alpha", "beta", "gamma", "delta"}));
}

void TFGraphTest::every_series_has_its_own_readable_colour() {
    Window window;
    const std::vector<Point> values{{0, 2}, {1, 3}};
    window.graph.showSeries(table_of({{0, GraphType::Lines, "", three_points}, {1, GraphType::Bars, "", values},
                                      {2, GraphType::Area, "", values},   {3, GraphType::Lines, "", three_points},
                                      {4, GraphType::Bars, "", values},   {5, GraphType::Lines, "", three_points},
                                      {6, GraphType::Area, "", values},   {7, GraphType::Lines, "", three_points},
                                      {8, GraphType::Bars, "", values},   {9, GraphType::Pie, "", values}}));
    const QColor plot_area = window.chart()->plotAreaBackgroundBrush().color();
    const QColor dark = test::dark_palette().color(QPalette::Window);
    QList<QColor> colours;
    for (int slot = 0; slot < SeriesTable::slot_count; ++slot) {
        const QColor colour = colour_of(window.graph.chart().series(slot));
        QVERIFY2(!colours.contains(colour), qPrintable(QString("slot %1: %2").arg(slot).arg(colour.name())));
        QVERIFY2(test::contrast(colour, plot_area) >= 3.0 && test::contrast(colour, dark) >= 3.0,
                 qPrintable(QString("slot %1: %2").arg(slot).arg(colour.name())));
        colours.append(colour);
    }
}

void TFGraphTest::pie_slices_have_distinct_colours_and_labels_that_do_not_overlap_data() {
    QTest::addColumn<QList<float>>("values");
    QTest::addColumn<int>("labelled");  // at least this many slices keep a label
    QTest::newRow("five equal slices") << QList<float>{1, 1, 1, 1, 1} << 5;
    QTest::newRow("one large, many small") << QList<float>{100, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1} << 3;
    QTest::newRow("eleven slices") << QList<float>{5, 4, 3, 5, 4, 3, 5, 4, 3, 5, 4} << 11;
}

void TFGraphTest::pie_slices_have_distinct_colours_and_labels_that_do_not_overlap() {
    QFETCH(QList<float>, values);
    QFETCH(int, labelled);
    Window window;
    window.graph.resize(420, 320);
    std::vector<Point> points;
    for (const float value : values) points.push_back({0, value});
    window.graph.showSeries(table_of({{0, GraphType::Pie, "", points}}));
    QTest::qWait(20);
    const auto* pie = qobject_cast<QPieSeries*>(window.graph.chart().series(0));
    const QList<QPieSlice*> slices = pie->slices();
    for (qsizetype i = 0; i < slices.size(); ++i) {
        // Each slice differs from both neighbours, the last one from the first.
        const QPieSlice* next = slices[(i + 1) % slices.size()];
        QVERIFY2(slices[i]->brush().color() != next->brush().color(), qPrintable(QString("slice %1").arg(i)));
    }
    const std::vector<PieLabel> places = place_pie_labels(*pie, window.chart()->plotArea());
    int shown = 0;
    for (std::size_t i = 0; i < places.size(); ++i) {
        QCOMPARE(slices[static_cast<qsizetype>(i)]->isLabelVisible(), places[i].shown);
        if (!places[i].shown) continue;
        ++shown;
        for (std::size_t j = 0; j < i; ++j) {
            QVERIFY2(!places[j].shown || !places[j].rect.intersects(places[i].rect),
                     qPrintable(QString("labels %1 and %2 overlap").arg(j).arg(i)));
        }
    }
    QVERIFY2(shown >= labelled, qPrintable(QString("%1 labels shown").arg(shown)));
    QVERIFY(slices.front()->isLabelVisible());  // the largest slice's
}

void TFGraphTest::a_cleared_slot_disappears_and_its_series_object_is_kept() {
    Window window;
    SeriesTable table = table_of({{1, GraphType::Bars, "", three_points}, {2, GraphType::Lines, "", three_points}});
    window.graph.showSeries(table);
    const QPointer<QAbstractSeries> bars = window.graph.chart().series(1);
    const QPointer<QAbstractSeries> first_line = window.graph.chart().series(2);

    table[1].points.clear();
    window.graph.showSeries(table);
    QCOMPARE(window.chart()->series().size(), 1);
    QCOMPARE(window.chart()->series().front()->type(), QAbstractSeries::SeriesTypeLine);
    // The undrawn slot's series is detached, not freed; a drawn slot gets a
    // new series and its previous one is freed.
    QVERIFY(!bars.isNull());
    QVERIFY(bars->chart() == nullptr);
    QCOMPARE(window.graph.chart().series(1), bars.data());
    QVERIFY(first_line.isNull());
    QVERIFY(window.graph.chart().series(2) != nullptr);

    // Refilling the slot replaces its kept series.
    table[1].points = three_points;
    window.graph.showSeries(table);
    QVERIFY(bars.isNull());
    QCOMPARE(window.chart()->series().size(), 2);
}

void TFGraphTest::destroying_the_window_frees_its_series_at_once() {
    auto graph = std::make_unique<TFGraph>();
    SeriesTable table = table_of({{0, GraphType::Lines, "", three_points}, {1, GraphType::Pie, "", three_points}});
    graph->showSeries(table);
    table[1].points.clear();
    graph->showSeries(table);
    const QPointer<QAbstractSeries> attached = graph->chart().series(0);
    const QPointer<QAbstractSeries> detached = graph->chart().series(1);
    const QPointer<QValueAxis> axis = graph->chart().x_axis();
    QVERIFY(!attached.isNull() && !detached.isNull() && !axis.isNull());
    graph.reset();
    QVERIFY(attached.isNull());
    QVERIFY(detached.isNull());
    QVERIFY(axis.isNull());
}

void TFGraphTest::resizing_keeps_the_button_under_the_chart_data() {
    QTest::addColumn<QSize>("client");
    QTest::newRow("smaller") << QSize(180, 150);
    QTest::newRow("much smaller") << QSize(90, 60);
    QTest::newRow("larger") << QSize(500, 400);
}

void TFGraphTest::resizing_keeps_the_button_under_the_chart() {
    QFETCH(QSize, client);
    Window window;
    window.graph.resize(client);
    const QSize size = client.expandedTo(window.graph.minimumSizeHint());
    QTRY_COMPARE(window.graph.size(), size);
    const QRect chart = window.graph.chart_view()->geometry();
    QCOMPARE(chart, QRect(0, 0, size.width() - 1, size.height() - window.button()->height()));
    QCOMPARE(window.button()->geometry().topLeft(), QPoint(0, chart.height()));
    QCOMPARE(window.button()->geometry().bottom(), size.height() - 1);
}

void TFGraphTest::set_titles_sets_the_three_titles() {
    Window window;
    window.graph.setTitles("Results", "time", "height");
    QCOMPARE(window.chart()->title(), QString("Results"));
    QCOMPARE(window.x_axis()->titleText(), QString("time"));
    QCOMPARE(window.y_axis()->titleText(), QString("height"));
    // Titles survive a redraw.
    window.graph.showSeries(table_of({{0, GraphType::Lines, "", three_points}}));
    QCOMPARE(window.chart()->title(), QString("Results"));
    QCOMPARE(window.x_axis()->titleText(), QString("time"));
}

void TFGraphTest::main_title_lines_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("lines");
    QTest::newRow("none") << "" << 0;
    QTest::newRow("one") << "Results" << 1;
    QTest::newRow("two") << "Results\nof today" << 2;
    QTest::newRow("three") << "Results\nof\ntoday" << 3;
    QTest::newRow("Windows line break") << "Results\r\nof today" << 2;
    // Text that looks like markup is shown as it is, so it takes a line.
    QTest::newRow("markup characters") << "<i></i>" << 1;
    QTest::newRow("markup line break") << "a<br>b" << 1;
}

void TFGraphTest::main_title_lines() {
    QFETCH(QString, title);
    QFETCH(int, lines);
    Window window;
    window.graph.setTitles("", "X", "Y");
    QTest::qWait(0);
    const qreal untitled_top = window.chart()->plotArea().top();
    window.graph.setTitles("Line", "X", "Y");
    QTRY_VERIFY(window.chart()->plotArea().top() > untitled_top);
    const qreal line_height = window.chart()->plotArea().top() - untitled_top;

    window.graph.setTitles(title, "X", "Y");
    QTRY_VERIFY(qAbs(window.chart()->plotArea().top() - untitled_top - lines * line_height) < line_height / 2);
}

void TFGraphTest::calls_from_another_thread_arrive_queued() {
    Window window;
    const SeriesTable table = table_of({{3, GraphType::Lines, "worker", three_points}});
    std::thread worker([&window, table] {
        QMetaObject::invokeMethod(&window.graph, "showSeries", Qt::QueuedConnection,
                                  Q_ARG(ostrac::graph::SeriesTable, table));
        QMetaObject::invokeMethod(&window.graph, "setTitles", Qt::QueuedConnection, Q_ARG(QString, "main"),
                                  Q_ARG(QString, "across"), Q_ARG(QString, "up"));
    });
    worker.join();
    QVERIFY(drawn_series(window.chart()).isEmpty());  // nothing happens on the worker's thread
    QTRY_COMPARE(window.chart()->series().size(), 1);
    QTRY_COMPARE(window.chart()->title(), QString("main"));
    QCOMPARE(window.x_axis()->titleText(), QString("across"));
    QCOMPARE(window.y_axis()->titleText(), QString("up"));
    QCOMPARE(qobject_cast<QLineSeries*>(window.chart()->series().front())->count(), 3);
    QVERIFY(window.chart()->legend()->isVisible());
}

void TFGraphTest::double_click_changes_nothing() {
    Window window;
    window.graph.showSeries(table_of({{0, GraphType::Lines, "", three_points}}));
    const QPair<qreal, qreal> x_range{window.x_axis()->min(), window.x_axis()->max()};
    const QPair<qreal, qreal> y_range{window.y_axis()->min(), window.y_axis()->max()};
    QWidget* viewport = window.graph.chart_view()->viewport();
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, viewport->rect().center());
    QTest::qWait(10);
    QCOMPARE(window.chart()->series().size(), 1);
    QCOMPARE(qobject_cast<QLineSeries*>(window.chart()->series().front())->count(), 3);
    QCOMPARE((QPair<qreal, qreal>{window.x_axis()->min(), window.x_axis()->max()}), x_range);
    QCOMPARE((QPair<qreal, qreal>{window.y_axis()->min(), window.y_axis()->max()}), y_range);
    QVERIFY(window.graph.isVisible());
}

void TFGraphTest::printing_to_a_pdf_file_gives_one_page() {
    Window window;
    window.graph.showSeries(table_of({{0, GraphType::Lines, "", three_points}}));
    QTemporaryDir folder;
    const QString path = folder.filePath("chart.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    QVERIFY(window.graph.print_chart(printer));
    QVERIFY(is_pdf_file(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().count("/Type /Page\n"), 1);
}

void TFGraphTest::printing_to_an_unwritable_file_fails() {
    TFGraph graph;
    QTemporaryDir folder;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath("missing/chart.pdf"));
    QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
    QVERIFY(!graph.print_chart(printer));
}

void TFGraphTest::print_button_without_a_printer_asks_for_a_pdf_file() {
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) QSKIP("this machine has a printer");
    Window window;
    window.graph.showSeries(table_of({{0, GraphType::Bars, "", three_points}}));
    QTemporaryDir folder;
    bool asked = false;
    on_next_modal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (dialog == nullptr) return;
        asked = true;
        dialog->selectFile(folder.filePath("printed"));
        static_cast<QDialog*>(dialog)->accept();
    });
    QTest::mouseClick(window.button(), Qt::LeftButton);
    QVERIFY(asked);
    QVERIFY(is_pdf_file(folder.filePath("printed.pdf")));

    // Cancelling the file dialog prints nothing.
    on_next_modal([](QWidget* modal) { modal->close(); });
    QTest::mouseClick(window.button(), Qt::LeftButton);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"printed.pdf"});
}

void TFGraphTest::screenshot_of_a_small_line_chart() {
    Window window;
    window.graph.setTitles("Squares", "X", "Y");
    window.graph.showSeries(table_of({{0, GraphType::Lines, "", {{1, 1}, {2, 4}, {3, 9}, {4, 16}}}}));
    QTest::qWait(50);
    const QImage shot = window.graph.grab().toImage();
    const QString path = QStringLiteral(OSTRAC_TEST_OUTPUT_DIR "/graph.png");
    QVERIFY(shot.save(path));
    qInfo("screenshot saved as %s", qPrintable(path));
    QCOMPARE(shot.size(), window.graph.size() * shot.devicePixelRatio());
    // The plot area is light yellow just inside its top right corner, and the
    // background is light green at the bottom left.
    const QRectF plot = window.chart()->plotArea();
    const QPoint inside = window.graph.chart_view()->mapTo(&window.graph, plot.topRight().toPoint() + QPoint(-3, 3));
    QCOMPARE(shot.pixelColor(inside * shot.devicePixelRatio()), QColor(0xFF, 0xFF, 0x80));
    const QColor bottom = shot.pixelColor(QPoint(2, window.graph.chart_view()->height() - 2) * shot.devicePixelRatio());
    QVERIFY2(bottom.green() > 0xF0 && bottom.blue() < 0xC0, qPrintable(bottom.name()));
}

void TFGraphTest::the_chart_saves_as_png_and_svg() {
    Window window;
    window.graph.resize(420, 320);
    window.graph.setTitles("Growth\nper year", "year", "value");
    window.graph.showSeries(table_of({{1, GraphType::Lines, "trend", {{1, 2}, {2, 3}, {3, 5}, {4, 8}}},
                                      {2, GraphType::Bars, "sales", {{1, 1}, {2, 4}, {3, 6}, {4, 7}}}}));
    QTest::qWait(50);
    const QString png = QStringLiteral(OSTRAC_TEST_OUTPUT_DIR "/chart.png");
    const QString svg = QStringLiteral(OSTRAC_TEST_OUTPUT_DIR "/chart.svg");
    QVERIFY(window.graph.save_png(png));
    QVERIFY(window.graph.save_svg(svg));
    qInfo("chart saved as %s and %s", qPrintable(png), qPrintable(svg));

    const QImage image(png);
    QCOMPARE(image.size(), window.graph.chart_view()->size() * image.devicePixelRatio());
    QFile drawing(svg);
    QVERIFY(drawing.open(QIODevice::ReadOnly));
    const QByteArray text = drawing.readAll();
    QVERIFY(text.contains("<svg"));
    QVERIFY2(text.contains("trend") && text.contains("sales"), "the legend's titles are in the drawing");
    QVERIFY(!window.graph.save_svg(QStringLiteral("/nonexistent/folder/chart.svg")));
}

QTEST_MAIN(TFGraphTest)
#include "tfgraph_test.moc"
