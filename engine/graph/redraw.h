// Turns the series table into the series of a chart.
#pragma once

#include "graph/chart.h"
#include "graph/series_table.h"

namespace ostrac::graph {

// Hides the legend, detaches every series, then draws each slot that holds
// points, from 0 to 9: lines by their (x, y) points; pie, bars and area by
// their y values in point order (the chart numbers the positions). The
// legend is shown as soon as any slot has a title, even a slot without
// points. Each slot drawn sets the axes, so the last one decides: hidden
// after a pie, shown after anything else; with nothing drawn they stay as
// they were.
void redraw(const SeriesTable& table, Chart& chart);

}  // namespace ostrac::graph
