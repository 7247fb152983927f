// Running a program must not allocate once its command is compiled: every
// allocation is counted, and a loop run a hundred times longer must make
// exactly as many as the short one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "alloc/counting_new.h"
#include "support/test_session.h"

namespace ostrac {
namespace {

// Allocations made by one command of `passes` passes through a loop that
// reads and writes globals, compares, branches, calls a function with a
// local and walks a matrix element.
long allocations_for(test::TestSession& ts, int passes) {
    const std::string command = "s = 0: k = 0: for i = 1 to " + std::to_string(passes) +
                                ": s = s + f(i) * m(1, 2): if s > 1e300 then s = 0: endif: k = k + 1: next";
    const long before = test::allocations();
    const auto lines = ts.command(command, 100000000);
    const long made = test::allocations() - before;
    EXPECT_EQ(lines, std::vector<std::string>{">> " + command}) << "the command runs without a message";
    return made;
}

TEST(DispatchAllocationTest, ALoopAllocatesNothingPerPass) {
    test::TestSession ts;
    ts.command("function f(x): y = x * 2: f = y + 1: endfn");
    ts.command("m = [1, 2; 3, 4]");
    ts.command("s = 0: k = 0: i = 0: y = f(1)");  // the table grows to its size
    allocations_for(ts, 10);  // the first run sizes what later runs reuse
    const long short_run = allocations_for(ts, 1000);
    const long long_run = allocations_for(ts, 100000);
    EXPECT_EQ(long_run, short_run);
    EXPECT_EQ(ts.command("print k"), (std::vector<std::string>{">> print k", "100000"}));
}

}  // namespace
}  // namespace ostrac
