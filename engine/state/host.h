// Everything the engine asks of the program around it. Front ends implement
// this (the desktop console, the terminal front end); tests implement it with
// a recorder. The engine calls it from whichever thread runs the session.
// Every call does nothing unless overridden, so a host implements only what
// it shows.
#pragma once

#include <string>
#include <string_view>

#include "graph/series_table.h"

namespace ostrac::state {

class Host {
public:
    virtual ~Host() = default;

    // One complete line for the output pane (the engine does the buffering).
    virtual void pane_add_line(std::string_view /*line*/) {}

    // The prompt shown left of the entry field: ">>" or an INPUT prompt.
    virtual void set_prompt(std::string_view /*text*/) {}

    // The angle unit (0 RAD, 1 DEG, 2 GRAD) and coordinate mode (0 RECT,
    // 1 POLAR) the mode labels should show.
    virtual void show_modes(int /*angle_unit*/, int /*coord_mode*/) {}

    // Empties the output pane (the `fcls` command).
    virtual void clear_console() {}

    // The session has nothing to run: the worker should wait until the
    // console resumes it.
    virtual void worker_suspend() {}

    // Debugger: select line n-1 of the editor's line list.
    virtual void editor_show_line(int /*line*/) {}

    // Debugger left: show the editor's text area again.
    virtual void editor_reset() {}

    // Graph commands: the chart should be redrawn from this copy of the
    // series table (graph::redraw). A host without a chart ignores it.
    virtual void chart_redraw(const graph::SeriesTable& /*table*/) {}

    // The `titles` command: the chart's main title (line breaks give several
    // lines), the bottom axis title and the left axis title, at once.
    virtual void chart_titles(std::string_view /*main*/, std::string_view /*x_title*/,
                              std::string_view /*y_title*/) {}
};

}  // namespace ostrac::state
