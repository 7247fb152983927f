#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graph/series_table.h"

namespace ostrac {
namespace {

TEST(SeriesTableTest, TitleKeepsAtMostThirtyNineBytesWithoutSplittingACharacter) {
    const auto n = [](std::size_t count) { return std::string(count, 'n'); };
    const std::string e_acute = "\xC3\xA9", euro = "\xE2\x82\xAC", clef = "\xF0\x9D\x84\x9E";
    struct Case {
        int line;
        std::string name;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {__LINE__, "", ""},
        {__LINE__, n(39), n(39)},
        {__LINE__, n(50), n(39)},
        {__LINE__, n(38) + e_acute, n(38)},
        {__LINE__, n(37) + e_acute + "x", n(37) + e_acute},
        {__LINE__, n(37) + euro, n(37)},
        {__LINE__, n(36) + clef, n(36)},
        {__LINE__, n(38) + clef, n(38)},
        {__LINE__, std::string(40, '\xA1'), std::string(39, '\xA1')},  // not UTF-8: cut as bytes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        graph::Series s;
        s.set_title(c.name);
        EXPECT_EQ(s.title, c.expected);
    }
}

}  // namespace
}  // namespace ostrac
