// A chart that logs every call of the redraw and keeps what a viewer sees:
// legend and axes visibility and the slots attached, in order.
#pragma once

#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "graph/chart.h"

namespace ostrac::test {

class RecordingChart : public graph::Chart {
public:
    void set_legend_visible(bool visible) override {
        log("legend", visible ? "on" : "off");
        legend = visible;
    }
    void set_axes_visible(bool visible) override {
        log("axes", visible ? "on" : "off");
        axes = visible;
    }
    void detach_all_series() override {
        log("detach");
        attached.clear();
    }
    bool create_series(int slot, graph::GraphType type) override {
        static constexpr const char* kinds[] = {"lines", "pie", "bars", "area"};
        log("create", slot, kinds[static_cast<int>(type)]);
        return !refused.contains(slot);
    }
    void set_series_title(int slot, std::string_view title) override { log("title", slot, title); }
    void hide_value_marks(int slot) override { log("marks", slot); }
    void add_xy(int slot, float x, float y) override { log("xy", slot, x, y); }
    void add_value(int slot, float y) override { log("value", slot, y); }
    void attach(int slot) override {
        log("attach", slot);
        attached.push_back(slot);
    }

    std::vector<std::string> calls;  // e.g. "create 3 pie", "xy 3 1 10"
    bool legend = false;
    std::optional<bool> axes;  // unset until a slot is drawn
    std::vector<int> attached;
    std::set<int> refused;  // slots whose series cannot be created

private:
    template <class... Args>
    void log(std::string_view name, const Args&... args) {
        std::ostringstream out;
        out << name;
        ((out << ' ' << args), ...);
        calls.push_back(out.str());
    }
};

}  // namespace ostrac::test
