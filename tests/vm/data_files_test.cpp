#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "state/stack_ops.h"
#include "state/symbols.h"
#include "support/test_session.h"
#include "vm/data_files.h"

namespace ostrac {
namespace {

namespace fs = std::filesystem;
using numeric::Matrix;
using session::FatalError;
using test::TestSession;
using Rows = std::vector<std::vector<double>>;

Matrix matrix_of(const Rows& rows) {
    Matrix m(static_cast<int>(rows.size()), static_cast<int>(rows[0].size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (std::size_t j = 0; j < rows[i].size(); ++j) {
            m.at(static_cast<int>(i) + 1, static_cast<int>(j) + 1).re = rows[i][j];
        }
    }
    return m;
}

Rows real_parts(const Matrix& m) {
    Rows out(static_cast<std::size_t>(m.rows()));
    for (int i = 1; i <= m.rows(); ++i) {
        for (int j = 1; j <= m.cols(); ++j) out[static_cast<std::size_t>(i - 1)].push_back(m.at(i, j).re);
    }
    return out;
}

class DataFilesTest : public ::testing::Test {
protected:
    session::Session& s() { return *ts.session; }
    fs::path home() const { return ts.home.path(); }

    void write_text(const fs::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    std::string read_text(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    void savedata(const Matrix& m, const std::string& name) {
        state::push_matrix(s(), m);
        state::push_text(s(), name);
        state::push_int(s(), 2);
        vm::op_savedata(s());
        EXPECT_TRUE(pops_sub0());
    }
    Matrix loaddata(const std::string& name) {
        const int depth = s().stack.depth();
        state::push_text(s(), name);
        state::push_int(s(), 1);
        vm::op_loaddata(s());
        EXPECT_EQ(s().stack.depth(), depth + 1);
        return *state::pop_matrix(s());
    }
    // The top cell is the no-value result.
    bool pops_sub0() {
        const state::Value v = state::pop(s());
        const auto* id = state::get_if<state::IdentCell>(&v);
        return id != nullptr && id->index == session::slot::SUB0;
    }


    TestSession ts;
};

TEST_F(DataFilesTest, SavedataWritesRealPartsAndLoaddataReadsThemBack) {
    Matrix m = matrix_of({{1, 2}, {3, 4}});
    m.at(1, 2).im = 5.0;  // imaginary parts are not written
    savedata(m, "m.txt");
    EXPECT_EQ(s().stack.depth(), 0);
    EXPECT_EQ(read_text(home() / "m.txt"), "1.000000\t2.000000\n3.000000\t4.000000\n");
    EXPECT_EQ(real_parts(loaddata("m.txt")), (Rows{{1, 2}, {3, 4}}));

    const Rows rows = {{-0.5, 1e6, 1.0 / 3.0}, {1.5, -2.25, 0}};
    savedata(matrix_of(rows), "m.txt");
    EXPECT_EQ(read_text(home() / "m.txt"), "-0.500000\t1000000.000000\t0.333333\n1.500000\t-2.250000\t0.000000\n");
    EXPECT_EQ(real_parts(loaddata("m.txt")), (Rows{{-0.5, 1e6, 0.333333}, {1.5, -2.25, 0}}));

    // An absolute name is used as given.
    fs::create_directory(home() / "sub");
    const std::string absolute = (home() / "sub" / "abs.txt").string();
    savedata(matrix_of({{1}}), absolute);
    EXPECT_EQ(read_text(absolute), "1.000000\n");
    EXPECT_EQ(real_parts(loaddata(absolute)), (Rows{{1}}));
}

TEST_F(DataFilesTest, LoaddataReadsLinesAsRowsTheWayItsTwoPassesDo) {
    struct Case {
        int line;
        std::string text;
        Rows expected;
    };
    const std::vector<Case> cases = {
        {__LINE__, "1\t2\n3\t4\n", {{1, 2}, {3, 4}}},
        {__LINE__, "1 2\n3 4", {{1, 2}, {3, 4}}},            // last line without a line break
        {__LINE__, "  1  2  ", {{1, 2}}},                    // white space at the end of the file
        {__LINE__, "1 2\n\n\n", {{1, 2}, {0, 0}, {0, 0}}},   // empty lines add zero rows
        {__LINE__, "1 2\n\n3 4\n", {{1, 2}, {3, 4}, {0, 0}}},  // ... at the bottom
        {__LINE__, "\n\n1 2\n", {{1, 2}}},                   // before the first number they do not
        {__LINE__, "1 2 \n3 4\n", {{1, 2, 3, 4}}},           // white space before a break joins lines
        {__LINE__, "1\t\n2\n3\n", {{1, 2}, {3, 0}}},
        {__LINE__, "1\n \n2\n", {{1}, {2}}},                 // a blank line is skipped with its break
        {__LINE__, "1 2\n   \n", {{1, 2}}},
        {__LINE__, "1\n2 3 4\n5 6\n", {{1, 0, 0}, {2, 3, 4}, {5, 6, 0}}},  // short lines padded
        {__LINE__, "abc 2\n", {{0, 2}}},                     // text that is not a number reads as 0
        {__LINE__, "12abc 1e2 -.5 +3\n", {{12, 100, -0.5, 3}}},  // a number's prefix counts
        // What strtod reads besides plain decimals, and the ends of the range.
        {__LINE__, "0x1p3 -0X10 1e-320 1e999 -inf 1e-999 0x\n", {{8, -16, 1e-320, HUGE_VAL, -HUGE_VAL, 0, 0}}},
        {__LINE__, "1\r\n2\r\n", {{1}, {2}}},                // "\r\n" is one line break
        {__LINE__, "1\r\n\r\n", {{1}, {0}}},
        {__LINE__, "1.000000\t2.000000\n3.000000\t4.000000\n", {{1, 2}, {3, 4}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        write_text(home() / "in.txt", c.text);
        EXPECT_EQ(real_parts(loaddata("in.txt")), c.expected);
    }
}

std::string repeat(const std::string& piece, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += piece;
    return out;
}

TEST_F(DataFilesTest, LoaddataRefusesMissingEmptyAndOversizedFiles) {
    struct Case {
        int line;
        std::optional<std::string> text;  // none: no such file
        std::string name;
        std::string report;
    };
    fs::create_directory(home() / "folder");
    ASSERT_EQ(::mkfifo((home() / "fifo").c_str(), 0600), 0);
    const std::vector<Case> cases = {
        {__LINE__, std::nullopt, "missing.txt", "Imposible encontrar fichero missing.txt"},
        {__LINE__, std::nullopt, "folder", "Imposible encontrar fichero folder"},
        // A FIFO would wait for a writer, a device may never end.
        {__LINE__, std::nullopt, "fifo", "Imposible encontrar fichero fifo"},
        {__LINE__, std::nullopt, "/dev/zero", "Imposible encontrar fichero /dev/zero"},
        {__LINE__, "", "e.txt", "No numbers in file e.txt"},
        {__LINE__, "\n\n", "e.txt", "No numbers in file e.txt"},
        {__LINE__, "  \t\n \n", "e.txt", "No numbers in file e.txt"},
        {__LINE__, repeat("1 ", 32768), "big.txt", "Matrix too large in file big.txt"},
        {__LINE__, repeat("1\n", 32768), "big.txt", "Matrix too large in file big.txt"},
        // 20000 rows of 1000 columns from a file of a few kilobytes.
        {__LINE__, repeat("1 ", 1000) + "\n" + repeat("1\n", 20000), "big.txt", "Matrix too large in file big.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        if (c.text) write_text(home() / c.name, *c.text);
        EXPECT_EQ(ts.fatal_report([&] { loaddata(c.name); }), c.report);
    }
    write_text(home() / "big.txt", repeat("2\n", 32767));
    const Matrix m = loaddata("big.txt");
    EXPECT_EQ(m.rows(), 32767);
    EXPECT_EQ(m.cols(), 1);
}

TEST_F(DataFilesTest, SavedataChecksItsArguments) {
    struct Case {
        int line;
        std::function<void()> push_arguments;
        std::string report;
    };
    const auto matrix = [&] { state::push_matrix(s(), matrix_of({{1}})); };
    const auto name = [&] { state::push_text(s(), std::string("m.txt")); };
    const auto number = [&] { state::push_float(s(), 3.0); };
    const std::vector<Case> cases = {
        {__LINE__, [&] { matrix(); number(); state::push_int(s(), 2); }, "sSTRING expected line=0"},
        {__LINE__, [&] { number(); name(); state::push_int(s(), 2); }, "Incorrect type line=0"},
        {__LINE__, [&] { matrix(); name(); state::push_int(s(), 1); }, "Number of parameters is incorrect line=0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        s().stack.clear();
        c.push_arguments();
        EXPECT_EQ(ts.fatal_report([&] { vm::op_savedata(s()); }), c.report);
        EXPECT_FALSE(fs::exists(home() / "m.txt"));
    }
    EXPECT_EQ(ts.fatal_report([&] { savedata(matrix_of({{1}}), "no/such/dir.txt"); }),
              "Imposible encontrar fichero no/such/dir.txt");
    // A FIFO is refused instead of waiting for a reader, a read-only file is kept.
    ASSERT_EQ(::mkfifo((home() / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(ts.fatal_report([&] { savedata(matrix_of({{1}}), "fifo"); }), "Imposible encontrar fichero fifo");
    write_text(home() / "kept.txt", "kept");
    fs::permissions(home() / "kept.txt", fs::perms::owner_read);
    EXPECT_EQ(ts.fatal_report([&] { savedata(matrix_of({{1}}), "kept.txt"); }), "Imposible encontrar fichero kept.txt");
    EXPECT_EQ(read_text(home() / "kept.txt"), "kept");
}

TEST_F(DataFilesTest, FlistPrintsEverySlotInUseInIndexOrder) {
    state::lookup_or_create(s(), "x", 0);
    const auto local = state::lookup_or_create(s(), "tmp", 0);
    state::lookup_or_create(s(), "Later", 0);
    s().symbols.release(local);
    ts.take_lines();

    state::push_float(s(), 0.0);
    state::push_int(s(), 1);
    vm::op_flist(s());
    EXPECT_TRUE(pops_sub0());
    EXPECT_EQ(s().stack.depth(), 0);
    EXPECT_EQ(ts.take_lines(),
              (std::vector<std::string>{"[PROC0]", "[EVAL0]", "[PI]", "[SUB0]", "[ANS]", "[sysangle]",
                                        "[syscoord]", "[sysgraph]", "[x]", "[Later]"}));
}

TEST_F(DataFilesTest, FclsClearsTheConsoleAndLeavesItsArgument) {
    state::push_float(s(), 42.0);
    state::push_int(s(), 1);
    vm::op_fcls(s());
    EXPECT_EQ(ts.host.clears, 1);
    ASSERT_EQ(s().stack.depth(), 1);
    EXPECT_EQ(state::pop_real(s()), 42.0);

    state::push_float(s(), 1.0);
    state::push_int(s(), 2);
    EXPECT_EQ(ts.fatal_report([&] { vm::op_fcls(s()); }), "Number of parameters is incorrect line=0");
    EXPECT_EQ(ts.host.clears, 1);
}

}  // namespace
}  // namespace ostrac
