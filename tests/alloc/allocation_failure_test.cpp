// No allocation failure ends the program. Each allocation that a Save and a
// Load make is failed in turn: the operation reports the memory message and
// leaves the session as it was; the file a Save leaves is whole.
#include <gtest/gtest.h>

#include <string>

#include "alloc/counting_new.h"
#include "support/test_session.h"
#include "vm/state_file.h"

namespace ostrac {
namespace {

// Fails the first, the second, ... allocation of `operation` until it runs
// through; after each failure `m(2, 1)` must still be `kept`.
void fail_each_allocation(test::TestSession& ts, void (*operation)(state::Machine&), const std::string& kept) {
    for (long n = 1;; ++n) {
        SCOPED_TRACE(n);
        test::fail_allocation(n);
        std::string report;
        try {
            operation(*ts.session);
        } catch (const session::FatalError&) {
            report = ts.take_lines().back();
        }
        const bool failed = test::allocation_failed();
        test::fail_allocation(0);
        if (!failed) return;
        EXPECT_EQ(report.rfind("memory error line=", 0), 0u) << report;
        EXPECT_EQ(ts.command("print m(2, 1)").back(), kept) << "the session is as it was";
    }
}

TEST(AllocationFailureTest, EveryAllocationOfASaveOrALoadMayFail) {
    test::TestSession ts;
    ts.host.modes.reserve(1000);  // the recording host's own storage is not under test
    ts.command("m = [1, 2; 3, 4]");
    fail_each_allocation(ts, &vm::state_save, "3");
    ts.command("m = [5, 6; 7, 8]");
    fail_each_allocation(ts, &vm::session_reload, "7");
    EXPECT_EQ(ts.command("print m(2, 1)").back(), "3") << "the saved state was loaded";
}

// Every allocation of a command with a large inverse, determinant or
// product, real or complex, is failed in turn (compiling it included): each
// failure is the matrix memory message, and the session goes on with its
// variables as they were.
TEST(AllocationFailureTest, EveryAllocationOfALargeMatrixOperationMayFail) {
    test::TestSession ts;
    ts.host.modes.reserve(1000);
    ts.command("m = [1]: m(100, 100) = 1: for i = 1 to 100: m(i, i) = i: m(i, 101 - i) = 2: next");
    ts.command("c = m * (1 + 1i): x = 0");
    for (const char* command : {"x = INV(m)", "x = DET(c)", "x = m * m", "x = c / c"}) {
        for (long n = 1;; ++n) {
            SCOPED_TRACE(testing::Message() << command << ", allocation " << n);
            ts.session->submit(command);
            test::fail_allocation(n);
            ts.run();
            const bool failed = test::allocation_failed();
            test::fail_allocation(0);
            if (!failed) break;
            const std::string report = ts.take_lines().back();
            EXPECT_EQ(report.rfind("Failure in allocate_matrix(). line=", 0), 0u) << report;
            EXPECT_EQ(ts.command("print m(100, 1) + cols(c)").back(), "102") << "the session goes on";
        }
    }
}

}  // namespace
}  // namespace ostrac
