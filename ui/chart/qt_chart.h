// The chart component of the graph window: graph::Chart over a Qt Charts
// QChart, so that graph::redraw can draw the series table on it.
//
// Each slot of the series table has at most one series object. Series on the
// chart belong to it; detached series are handed back to the QChart as plain
// QObject children, so they live as long as the chart unless a later
// create_series for their slot frees them. Lines, bars and areas share one
// horizontal and one vertical value axis, which the chart adds at
// construction; a pie uses no axis. Bars and areas place their values at the
// positions 0, 1, 2, ... of the horizontal axis.
//
// The redraw only fills the series; fit_to_data() then sets the axis ranges,
// the legend, the colours of pie slices and their labels, once all values
// are in. Each series takes the palette's colour of its slot
// (chart/series_palette.h). A chart with nothing on it keeps an empty line
// on its axes, since the chart draws no axes that carry no series.
#pragma once

#include <QMetaObject>
#include <QString>
#include <array>
#include <string_view>

#include "graph/chart.h"
#include "graph/series_table.h"

class QAbstractSeries;
class QChart;
class QLineSeries;
class QValueAxis;

namespace ostrac::ui {

class QtChart final : public graph::Chart {
public:
    // Adds the two axes to `chart`, which must outlive this adaptor.
    explicit QtChart(QChart* chart);
    // Takes the series and axes off the chart, so that the chart frees them
    // at once, as its children, rather than by deferred deletion.
    ~QtChart() override;

    QtChart(const QtChart&) = delete;
    QtChart& operator=(const QtChart&) = delete;

    void set_legend_visible(bool visible) override;
    void set_axes_visible(bool visible) override;
    void detach_all_series() override;
    bool create_series(int slot, graph::GraphType type) override;
    void set_series_title(int slot, std::string_view title) override;
    void hide_value_marks(int slot) override;
    void add_xy(int slot, float x, float y) override;
    void add_value(int slot, float y) override;
    void attach(int slot) override;

    // Sets both axis ranges to fit every attached series (with the zero
    // line for bars and areas), and leaves one legend line per titled
    // series, which shows the series title (a pie would otherwise list its
    // slices). Colours and labels the slices of pies.
    void fit_to_data();

    // The main title (each line break starts a new line), the bottom axis
    // title and the left axis title, all shown as plain text.
    void set_titles(const QString& main, const QString& x_title, const QString& y_title);

    // The slot's series object, attached or not; nullptr when it has none.
    QAbstractSeries* series(int slot) const;
    QValueAxis* x_axis() const { return x_axis_; }
    QValueAxis* y_axis() const { return y_axis_; }

private:
    QAbstractSeries*& slot_at(int slot) { return slots_[static_cast<std::size_t>(slot)]; }
    // Shows the labels of the pies that stay clear of each other on the
    // plot area as it is now.
    void place_labels();

    QChart* chart_;
    QValueAxis* x_axis_;
    QValueAxis* y_axis_;
    QLineSeries* frame_;  // the empty line that keeps the axes of an empty chart
    std::array<QAbstractSeries*, graph::SeriesTable::slot_count> slots_{};
    QMetaObject::Connection plot_area_changes_;
};

}  // namespace ostrac::ui
