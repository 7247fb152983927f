// The series table: the engine-side model of what the chart shows. Ten slots,
// numbered 0 to 9, each with a legend title, its points and the way it is
// drawn. A plain value type: the desktop program hands a copy to its window
// thread, which redraws the chart from it (graph/redraw.h).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ostrac::graph {

enum class GraphType : std::int32_t {
    Lines = 0,  // a line through the (x, y) points
    Pie = 1,    // the y values as pie slices
    Bars = 2,   // the y values as bars
    Area = 3,   // the y values as an area
};

struct Point {
    float x = 0.0F;
    float y = 0.0F;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Series {
    static constexpr std::size_t max_title_length = 39;

    // Keeps the first 39 bytes of `name`, less a multi-byte UTF-8 character
    // the cut would split.
    void set_title(std::string_view name);

    std::string title;  // legend text; empty: no name
    std::vector<Point> points;
    GraphType type = GraphType::Lines;

    friend bool operator==(const Series&, const Series&) = default;
};

class SeriesTable {
public:
    static constexpr int slot_count = 10;

    // Slots are numbered 0 to 9; callers check the number.
    Series& operator[](int n) { return slots_[static_cast<std::size_t>(n)]; }
    const Series& operator[](int n) const { return slots_[static_cast<std::size_t>(n)]; }

    // Every slot without points, without title, drawn as lines.
    void clear() { slots_ = {}; }

    friend bool operator==(const SeriesTable&, const SeriesTable&) = default;

private:
    std::array<Series, slot_count> slots_{};
};

}  // namespace ostrac::graph
