#include "chart/qt_chart.h"

#include <QAreaSeries>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMessageBox>
#include <QPieSeries>
#include <QPieSlice>
#include <QRegularExpression>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

#include "chart/axis_range.h"
#include "chart/pie_labels.h"
#include "chart/series_palette.h"
#include "common/window_stacking.h"

namespace ostrac::ui {

namespace {

using graph::GraphType;

// The smallest rectangle holding the points it was given (values that are
// not finite are left out).
class Extent {
public:
    void add_x(double x) {
        if (!std::isfinite(x)) return;
        min_x_ = std::min(min_x_, x);
        max_x_ = std::max(max_x_, x);
    }
    void add_y(double y) {
        if (!std::isfinite(y)) return;
        min_y_ = std::min(min_y_, y);
        max_y_ = std::max(max_y_, y);
    }
    void add(const QPointF& point) {
        add_x(point.x());
        add_y(point.y());
    }

    // Fits the axis to this extent in one direction (chart/axis_range.h);
    // an axis stays as it is when nothing was added.
    void apply_x(QValueAxis* axis) const { apply(axis, min_x_, max_x_); }
    void apply_y(QValueAxis* axis) const { apply(axis, min_y_, max_y_); }

private:
    static void apply(QValueAxis* axis, double min, double max) {
        if (min > max) return;
        const AxisRange range = fit_axis_range(min, max);
        axis->setRange(range.min, range.max);
        axis->setTickType(QValueAxis::TicksDynamic);
        axis->setTickAnchor(0.0);
        axis->setTickInterval(range.tick_interval);
    }

    static constexpr double inf = std::numeric_limits<double>::infinity();
    double min_x_ = inf;
    double max_x_ = -inf;
    double min_y_ = inf;
    double max_y_ = -inf;
};

void add_to_extent(const QAbstractSeries* series, Extent& extent) {
    if (const auto* line = qobject_cast<const QLineSeries*>(series)) {
        for (const QPointF& point : line->points()) extent.add(point);
    } else if (const auto* area = qobject_cast<const QAreaSeries*>(series)) {
        const QList<QPointF> points = area->upperSeries()->points();
        for (const QPointF& point : points) extent.add(point);
        if (!points.isEmpty()) extent.add_y(0.0);  // the area is filled down to zero
    } else if (const auto* bars = qobject_cast<const QBarSeries*>(series)) {
        // Bar i is centred on position i and half a position wide.
        const QBarSet* set = bars->barSets().value(0);
        if (set == nullptr || set->count() == 0) return;
        extent.add_x(-0.5);
        extent.add_x(set->count() - 0.5);
        extent.add_y(0.0);
        for (int i = 0; i < set->count(); ++i) extent.add_y(set->at(i));
    }
}

QAbstractSeries* new_series(GraphType type, QObject* parent) {
    switch (type) {
        case GraphType::Pie:
            return new QPieSeries(parent);
        case GraphType::Bars: {
            auto* bars = new QBarSeries(parent);
            // The set exists before the series is attached, so that the theme
            // gives it the series' automatic colour.
            bars->append(new QBarSet(QString()));
            return bars;
        }
        case GraphType::Area: {
            auto* area = new QAreaSeries(parent);
            area->setUpperSeries(new QLineSeries(area));
            return area;
        }
        case GraphType::Lines:
            break;
    }
    return new QLineSeries(parent);
}

// The line that takes a slot's values: the series itself for lines, the
// upper edge for an area; nullptr for pies and bars.
QLineSeries* value_line(QAbstractSeries* series) {
    if (auto* area = qobject_cast<QAreaSeries*>(series)) return area->upperSeries();
    return qobject_cast<QLineSeries*>(series);
}

// Gives the series its slot's colour, after the chart's theme has given it
// one. Areas are filled half transparent, so that one does not hide another.
void paint_series(QAbstractSeries* series, const QColor& colour) {
    if (auto* line = qobject_cast<QLineSeries*>(series)) {
        QPen pen = line->pen();
        pen.setColor(colour);
        pen.setWidthF(2.0);
        line->setPen(pen);
    } else if (auto* area = qobject_cast<QAreaSeries*>(series)) {
        QColor fill = colour;
        fill.setAlphaF(0.5);
        area->setColor(fill);
        area->setBorderColor(colour);
    } else if (auto* bars = qobject_cast<QBarSeries*>(series)) {
        QBarSet* set = bars->barSets().front();
        set->setColor(colour);
        set->setBorderColor(colour.darker(130));
    }
}

// The slices take the palette's colours from the slot's own on, so that
// the legend shows the slot's colour; the last slice, next to the first
// round the pie, never takes the first one's colour.
void paint_slices(QPieSeries* pie, int slot) {
    const QList<QPieSlice*> slices = pie->slices();
    for (qsizetype i = 0; i < slices.size(); ++i) {
        const bool beside_first = i > 1 && i == slices.size() - 1 && i % series_palette_size == 0;
        slices[i]->setColor(series_colour(slot + static_cast<int>(i) + (beside_first ? 1 : 0)));
        slices[i]->setLabel(pie_label_text(slices[i]->percentage()));
        slices[i]->setLabelPosition(QPieSlice::LabelOutside);
    }
}

// Chart titles are rich text: plain text is escaped and its line breaks
// become explicit ones.
QString title_markup(const QString& text) {
    static const QRegularExpression line_break(QStringLiteral("\r\n|\r|\n"));
    return text.toHtmlEscaped().replace(line_break, QStringLiteral("<br>"));
}

}  // namespace

QtChart::QtChart(QChart* chart)
    : chart_(chart), x_axis_(new QValueAxis(chart)), y_axis_(new QValueAxis(chart)), frame_(new QLineSeries(chart)) {
    for (QValueAxis* axis : {x_axis_, y_axis_}) axis->setLabelFormat(QStringLiteral("%g"));
    chart_->addAxis(x_axis_, Qt::AlignBottom);
    chart_->addAxis(y_axis_, Qt::AlignLeft);
    fit_to_data();
    plot_area_changes_ = QObject::connect(chart_, &QChart::plotAreaChanged, [this] { place_labels(); });
}

QtChart::~QtChart() {
    QObject::disconnect(plot_area_changes_);
    detach_all_series();
    for (QValueAxis* axis : {x_axis_, y_axis_}) {
        chart_->removeAxis(axis);
        axis->setParent(chart_);
    }
}

void QtChart::set_legend_visible(bool visible) { chart_->legend()->setVisible(visible); }

void QtChart::set_axes_visible(bool visible) {
    x_axis_->setVisible(visible);
    y_axis_->setVisible(visible);
}

void QtChart::detach_all_series() {
    for (QAbstractSeries* series : chart_->series()) {
        chart_->removeSeries(series);
        series->setParent(chart_);
    }
}

bool QtChart::create_series(int slot, GraphType type) {
    QAbstractSeries*& series = slot_at(slot);
    if (series != nullptr && series->chart() != nullptr) chart_->removeSeries(series);
    delete series;
    series = nullptr;
    try {
        series = new_series(type, chart_);
    } catch (const std::bad_alloc&) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), QStringLiteral("Error Allocating Memory!!"),
                        QMessageBox::Ok | QMessageBox::Cancel);
        keep_above_windows(&box);
        box.exec();
        return false;
    }
    return true;
}

void QtChart::set_series_title(int slot, std::string_view title) {
    QAbstractSeries* series = slot_at(slot);
    const QString name = QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size()));
    series->setName(name);
    // The legend names bars by their set.
    if (auto* bars = qobject_cast<QBarSeries*>(series)) bars->barSets().front()->setLabel(name);
}

void QtChart::hide_value_marks(int slot) {
    QAbstractSeries* series = slot_at(slot);
    if (auto* bars = qobject_cast<QBarSeries*>(series)) bars->setLabelsVisible(false);
    if (auto* area = qobject_cast<QAreaSeries*>(series)) area->setPointLabelsVisible(false);
}

void QtChart::add_xy(int slot, float x, float y) {
    if (QLineSeries* line = value_line(slot_at(slot))) line->append(x, y);
}

void QtChart::add_value(int slot, float y) {
    QAbstractSeries* series = slot_at(slot);
    if (auto* pie = qobject_cast<QPieSeries*>(series)) {
        pie->append(QString(), y);
    } else if (auto* bars = qobject_cast<QBarSeries*>(series)) {
        bars->barSets().front()->append(y);
    } else if (QLineSeries* line = value_line(series)) {
        line->append(line->count(), y);
    }
}

void QtChart::attach(int slot) {
    QAbstractSeries* series = slot_at(slot);
    chart_->addSeries(series);
    paint_series(series, series_colour(slot));
    if (qobject_cast<QPieSeries*>(series) != nullptr) return;
    series->attachAxis(x_axis_);
    series->attachAxis(y_axis_);
}

void QtChart::fit_to_data() {
    Extent extent;
    bool drawn = false;
    for (QAbstractSeries* series : chart_->series()) {
        if (series == frame_) continue;
        drawn = true;
        add_to_extent(series, extent);
        if (auto* pie = qobject_cast<QPieSeries*>(series)) {
            const auto slot = std::find(slots_.begin(), slots_.end(), series) - slots_.begin();
            paint_slices(pie, static_cast<int>(slot));
        }
        const QList<QLegendMarker*> markers = chart_->legend()->markers(series);
        for (qsizetype i = 0; i < markers.size(); ++i) markers[i]->setVisible(i == 0 && !series->name().isEmpty());
        if (!markers.isEmpty()) markers.front()->setLabel(series->name());
    }
    const bool framed = frame_->chart() != nullptr;
    if (!drawn && !framed) {
        chart_->addSeries(frame_);
        frame_->attachAxis(x_axis_);
        frame_->attachAxis(y_axis_);
        for (QLegendMarker* marker : chart_->legend()->markers(frame_)) marker->setVisible(false);
    } else if (drawn && framed) {
        chart_->removeSeries(frame_);
        frame_->setParent(chart_);
    }
    extent.apply_x(x_axis_);
    extent.apply_y(y_axis_);
    place_labels();
}

void QtChart::place_labels() {
    for (QAbstractSeries* series : chart_->series()) {
        auto* pie = qobject_cast<QPieSeries*>(series);
        if (pie == nullptr) continue;
        const std::vector<PieLabel> labels = place_pie_labels(*pie, chart_->plotArea());
        const QList<QPieSlice*> slices = pie->slices();
        for (std::size_t i = 0; i < labels.size(); ++i) {
            slices[static_cast<qsizetype>(i)]->setLabelVisible(labels[i].shown);
        }
    }
}

void QtChart::set_titles(const QString& main, const QString& x_title, const QString& y_title) {
    chart_->setTitle(title_markup(main));
    x_axis_->setTitleText(title_markup(x_title));
    y_axis_->setTitleText(title_markup(y_title));
}

QAbstractSeries* QtChart::series(int slot) const { return slots_[static_cast<std::size_t>(slot)]; }

}  // namespace ostrac::ui
