#include "worker/console_host.h"

#include <utility>

#include "worker/worker_gate.h"

namespace ostrac::ui {

void ConsoleHost::push(ConsoleEvent event) {
    std::lock_guard lock(mutex_);
    events_.push_back(std::move(event));
}

void ConsoleHost::pane_add_line(std::string_view line) { push(console_event::PaneLine{std::string(line)}); }

void ConsoleHost::set_prompt(std::string_view text) { push(console_event::Prompt{std::string(text)}); }

void ConsoleHost::show_modes(int angle_unit, int coord_mode) {
    push(console_event::Modes{angle_unit, coord_mode});
}

void ConsoleHost::clear_console() { push(console_event::Clear{}); }

void ConsoleHost::worker_suspend() {
    push(console_event::Suspended{});
    gate_.suspend();
}

void ConsoleHost::editor_show_line(int line) { push(console_event::EditorLine{line}); }

void ConsoleHost::editor_reset() { push(console_event::EditorReset{}); }

void ConsoleHost::chart_redraw(const graph::SeriesTable& table) { push(console_event::ChartRedraw{table}); }

void ConsoleHost::chart_titles(std::string_view main, std::string_view x_title, std::string_view y_title) {
    push(console_event::ChartTitles{std::string(main), std::string(x_title), std::string(y_title)});
}

std::vector<ConsoleEvent> ConsoleHost::take_events() {
    std::vector<ConsoleEvent> taken;
    std::lock_guard lock(mutex_);
    taken.swap(events_);
    return taken;
}

}  // namespace ostrac::ui
