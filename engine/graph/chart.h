// What the redraw (graph/redraw.h) asks of a chart component. The desktop
// program implements it over its charting library; tests record the calls.
//
// The chart keeps one series object per slot of the series table. Detaching
// takes series off the chart without freeing them; creating a series for a
// slot frees that slot's previous series. A series attached without an
// explicit colour takes the chart's next automatic colour.
#pragma once

#include <string_view>

#include "graph/series_table.h"

namespace ostrac::graph {

class Chart {
public:
    virtual ~Chart() = default;

    virtual void set_legend_visible(bool visible) = 0;
    // Both axes together.
    virtual void set_axes_visible(bool visible) = 0;
    virtual void detach_all_series() = 0;

    // Replaces the slot's series with a new, empty, unattached one of the
    // given kind. Returns false when the series could not be created; the
    // chart has then told the user, and the slot is not drawn.
    virtual bool create_series(int slot, GraphType type) = 0;
    // The legend lists series by title.
    virtual void set_series_title(int slot, std::string_view title) = 0;
    // Bars and areas: no value written next to each mark.
    virtual void hide_value_marks(int slot) = 0;
    // A line point, with an empty label and the automatic colour.
    virtual void add_xy(int slot, float x, float y) = 0;
    // A pie, bar or area value at the next position, with an empty label and
    // the automatic colour.
    virtual void add_value(int slot, float y) = 0;
    virtual void attach(int slot) = 0;
};

}  // namespace ostrac::graph
