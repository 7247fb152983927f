// A host that records what the engine asked of it, for tests.
#pragma once

#include <string>
#include <vector>

#include "state/host.h"

namespace ostrac::test {

class RecordingHost : public state::Host {
public:
    void pane_add_line(std::string_view line) override { lines.emplace_back(line); }
    void set_prompt(std::string_view text) override { prompt = text; }
    void show_modes(int angle_unit, int coord_mode) override {
        modes.push_back({angle_unit, coord_mode});
    }
    void clear_console() override { ++clears; }
    void worker_suspend() override { ++suspends; }
    void editor_show_line(int line) override { shown_lines.push_back(line); }
    void editor_reset() override { ++editor_resets; }
    void chart_redraw(const graph::SeriesTable& table) override {
        chart_table = table;
        ++chart_redraws;
    }
    void chart_titles(std::string_view main, std::string_view x_title, std::string_view y_title) override {
        chart_title_texts = {std::string(main), std::string(x_title), std::string(y_title)};
    }

    struct Modes {
        int angle;
        int coord;
        bool operator==(const Modes&) const = default;
    };

    std::vector<std::string> lines;
    std::string prompt;
    std::vector<Modes> modes;
    int clears = 0;
    int suspends = 0;
    std::vector<int> shown_lines;
    int editor_resets = 0;
    graph::SeriesTable chart_table;  // the table of the last redraw
    int chart_redraws = 0;
    std::vector<std::string> chart_title_texts;  // main, x and y of the last `titles`
};

}  // namespace ostrac::test
