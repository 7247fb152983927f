#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "graph/recording_chart.h"
#include "graph/redraw.h"

namespace ostrac {
namespace {

using graph::GraphType;
using graph::SeriesTable;
using test::RecordingChart;
using Calls = std::vector<std::string>;

RecordingChart redrawn(const SeriesTable& table, std::set<int> refused = {}) {
    RecordingChart chart;
    chart.refused = std::move(refused);
    graph::redraw(table, chart);
    return chart;
}

TEST(RedrawTest, EachKindIsBuiltInItsOwnOrder) {
    struct Case {
        int line;
        GraphType type;
        std::string title;
        Calls expected;
    };
    const std::vector<Case> cases = {
        {__LINE__, GraphType::Lines, "",
         {"legend off", "detach", "create 3 lines", "axes on", "xy 3 1 10", "xy 3 2.5 -20", "attach 3"}},
        {__LINE__, GraphType::Lines, "up",
         {"legend off", "detach", "legend on", "create 3 lines", "axes on", "xy 3 1 10", "xy 3 2.5 -20",
          "attach 3", "title 3 up"}},
        {__LINE__, GraphType::Pie, "share",
         {"legend off", "detach", "legend on", "create 3 pie", "axes off", "title 3 share", "attach 3",
          "value 3 10", "value 3 -20"}},
        {__LINE__, GraphType::Bars, "b",
         {"legend off", "detach", "legend on", "create 3 bars", "marks 3", "axes on", "title 3 b", "attach 3",
          "value 3 10", "value 3 -20"}},
        {__LINE__, GraphType::Area, "",
         {"legend off", "detach", "create 3 area", "marks 3", "axes on", "attach 3", "value 3 10",
          "value 3 -20"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        SeriesTable table;
        table[3] = {c.title, {{1.0F, 10.0F}, {2.5F, -20.0F}}, c.type};
        EXPECT_EQ(redrawn(table).calls, c.expected);
    }
}

TEST(RedrawTest, LegendFollowsTitlesEvenOfSlotsWithoutPoints) {
    SeriesTable table;
    RecordingChart chart = redrawn(table);
    EXPECT_EQ(chart.calls, (Calls{"legend off", "detach"}));
    EXPECT_FALSE(chart.axes.has_value()) << "nothing drawn: the axes are left alone";

    table[7].title = "later";
    chart = redrawn(table);
    EXPECT_EQ(chart.calls, (Calls{"legend off", "detach", "legend on"}));
    EXPECT_TRUE(chart.attached.empty());
}

TEST(RedrawTest, SlotsAreDrawnInOrderAndTheLastOneDecidesTheAxes) {
    struct Case {
        int line;
        std::vector<GraphType> types;  // slots 0, 1, ..., each with one point
        std::set<int> refused;
        std::vector<int> attached;
        bool axes;
    };
    constexpr auto L = GraphType::Lines, P = GraphType::Pie, B = GraphType::Bars, A = GraphType::Area;
    const std::vector<Case> cases = {
        {__LINE__, {P}, {}, {0}, false},
        {__LINE__, {P, L}, {}, {0, 1}, true},
        {__LINE__, {L, P}, {}, {0, 1}, false},
        {__LINE__, {A, P, B}, {}, {0, 1, 2}, true},
        {__LINE__, {L, L, L, L, L, L, L, L, L, P}, {}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, false},
        {__LINE__, {L, P, B}, {2}, {0, 1}, false},  // a refused series is skipped
        {__LINE__, {P, B, L}, {0, 2}, {1}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        SeriesTable table;
        for (std::size_t i = 0; i < c.types.size(); ++i) {
            table[static_cast<int>(i)] = {"", {{1.0F, 2.0F}}, c.types[i]};
        }
        const RecordingChart chart = redrawn(table, c.refused);
        EXPECT_EQ(chart.attached, c.attached);
        EXPECT_EQ(chart.axes, c.axes);
    }
}

}  // namespace
}  // namespace ostrac
