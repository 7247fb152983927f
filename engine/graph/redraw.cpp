#include "graph/redraw.h"

namespace ostrac::graph {

void redraw(const SeriesTable& table, Chart& chart) {
    chart.set_legend_visible(false);
    chart.detach_all_series();

    for (int n = 0; n < SeriesTable::slot_count; ++n) {
        const Series& series = table[n];
        if (!series.title.empty()) chart.set_legend_visible(true);
        if (series.points.empty()) continue;
        if (!chart.create_series(n, series.type)) continue;

        // A line is filled and attached before its title is set; the other
        // kinds get their title first and are attached before their values.
        if (series.type == GraphType::Lines) {
            chart.set_axes_visible(true);
            for (const Point& p : series.points) chart.add_xy(n, p.x, p.y);
            chart.attach(n);
            if (!series.title.empty()) chart.set_series_title(n, series.title);
            continue;
        }

        if (series.type == GraphType::Pie) {
            chart.set_axes_visible(false);
        } else {
            chart.hide_value_marks(n);
            chart.set_axes_visible(true);
        }
        if (!series.title.empty()) chart.set_series_title(n, series.title);
        chart.attach(n);
        for (const Point& p : series.points) chart.add_value(n, p.y);
    }
}

}  // namespace ostrac::graph
