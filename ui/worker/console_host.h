// The session's host for the desktop console. The engine calls it on the
// worker thread (and on the user-interface thread while the worker is at
// rest); every call becomes an event in a locked queue, which the console
// drains on the user-interface thread, in batches, for as long as the worker
// runs. The worker's last event before it parks itself is Suspended, so the
// console knows when the queue can stay quiet.
#pragma once

#include <mutex>
#include <string>
#include <variant>
#include <vector>

#include "graph/series_table.h"
#include "state/host.h"

namespace ostrac::ui {

class WorkerGate;

namespace console_event {
struct PaneLine {
    std::string text;
};
struct Prompt {
    std::string text;
};
struct Modes {
    int angle_unit;
    int coord_mode;
};
struct Clear {};
struct EditorLine {
    int line;
};
struct EditorReset {};
// A copy of the series table to draw: the chart is only touched on the
// user-interface thread.
struct ChartRedraw {
    graph::SeriesTable table;
};
struct ChartTitles {
    std::string main;
    std::string x_title;
    std::string y_title;
};
// The worker parked itself: the run state may have changed.
struct Suspended {};
}  // namespace console_event

using ConsoleEvent = std::variant<console_event::PaneLine, console_event::Prompt, console_event::Modes,
                                  console_event::Clear, console_event::EditorLine, console_event::EditorReset,
                                  console_event::ChartRedraw, console_event::ChartTitles,
                                  console_event::Suspended>;

class ConsoleHost : public state::Host {
public:
    explicit ConsoleHost(WorkerGate& gate) : gate_(gate) {}

    void pane_add_line(std::string_view line) override;
    void set_prompt(std::string_view text) override;
    void show_modes(int angle_unit, int coord_mode) override;
    void clear_console() override;
    void worker_suspend() override;
    void editor_show_line(int line) override;
    void editor_reset() override;
    void chart_redraw(const graph::SeriesTable& table) override;
    void chart_titles(std::string_view main, std::string_view x_title, std::string_view y_title) override;

    // Everything queued since the last call, oldest first.
    std::vector<ConsoleEvent> take_events();

private:
    void push(ConsoleEvent event);

    WorkerGate& gate_;
    std::mutex mutex_;
    std::vector<ConsoleEvent> events_;
};

}  // namespace ostrac::ui
