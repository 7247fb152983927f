// The start-up library as users meet it: the built data0.bin loaded into a
// session, every reference point of tests/library/reference evaluated through
// the language, and the worst error of each function held against its limit.
// The reference values come from make_reference.py (mpmath); this test only
// reads them.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/test_session.h"

namespace ostrac {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const fs::path startup_file = OSTRAC_DATA0_FILE;
const fs::path reference_dir = OSTRAC_REFERENCE_DIR;

// Timing is only meaningful in an optimised build without sanitizers; the
// other builds still run every check but the clock.
#if defined(NDEBUG) && !defined(OSTRAC_SANITIZED)
constexpr bool timed_build = true;
#else
constexpr bool timed_build = false;
#endif
constexpr double call_budget_ms = 5.0;
// Builds that skip the clock run many times slower; they check every sixth
// point, which keeps the test at a few seconds there too.
constexpr std::size_t point_stride = timed_build ? 1 : 6;
constexpr double load_budget_ms = 5.0;

struct ReferencePoint {
    std::string call;
    double expected;
};

std::vector<ReferencePoint> read_reference(const std::string& name) {
    std::ifstream in(reference_dir / (name + ".tsv"));
    std::vector<ReferencePoint> points;
    std::string line;
    while (std::getline(in, line)) {
        const auto tab = line.find('\t');
        if (tab == std::string::npos) continue;
        points.push_back({line.substr(0, tab), std::strtod(line.c_str() + tab + 1, nullptr)});
    }
    return points;
}

double ms_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A session started with the built library.
class LibrarySession {
public:
    LibrarySession() : t_(startup_file) {}

    // Runs a command and returns the lines it printed after its echo.
    std::vector<std::string> run(const std::string& line) {
        auto lines = t_.command(line);
        if (!lines.empty() && lines.front() == ">> " + line) lines.erase(lines.begin());
        return lines;
    }

    // Evaluates an expression into ANS; fails the test on any output.
    double value(const std::string& expression) {
        const auto lines = run("ANS = " + expression);
        EXPECT_TRUE(lines.empty()) << expression << " printed " << (lines.empty() ? "" : lines.front());
        const auto& ans = t_.session->symbols[session::slot::ANS];
        EXPECT_EQ(ans.type, state::ValueType::Real) << expression;
        return ans.number.re;
    }

    // The call's time in milliseconds; a measurement above a fifth of the
    // budget is repeated and the fastest kept, so that a busy machine does
    // not fail the budget.
    double time_ms(const std::string& expression) {
        double best = 1e300;
        for (int attempt = 0; attempt < 5 && best > call_budget_ms / 5; ++attempt) {
            const auto start = Clock::now();
            run("ANS = " + expression);
            best = std::min(best, ms_since(start));
        }
        return best;
    }

    session::Session& session() { return *t_.session; }
    test::TestSession& raw() { return t_; }

private:
    test::TestSession t_;
};

enum class Measure { Relative, Absolute };

struct AccuracyCase {
    const char* file;  // reference/<file>.tsv
    Measure measure;
    double limit;
};

std::ostream& operator<<(std::ostream& os, const AccuracyCase& c) { return os << c.file; }

class LibraryAccuracyTest : public ::testing::TestWithParam<AccuracyCase> {};

TEST_P(LibraryAccuracyTest, WorstErrorOverTheReferencePointsIsWithinTheLimit) {
    const AccuracyCase& c = GetParam();
    const auto points = read_reference(c.file);
    ASSERT_FALSE(points.empty()) << "no reference values for " << c.file;

    LibrarySession lib;
    double worst = 0;
    std::string worst_call;
    double slowest = 0;
    std::string slowest_call;
    std::size_t checked = 0;
    for (std::size_t i = 0; i < points.size(); i += point_stride) {
        const ReferencePoint& p = points[i];
        ++checked;
        const double got = lib.value(p.call);
        double error = std::abs(got - p.expected);
        if (c.measure == Measure::Relative && p.expected != 0) error /= std::abs(p.expected);
        if (!(error <= worst) || std::isnan(got)) {
            worst = std::isnan(got) ? INFINITY : error;
            worst_call = p.call;
        }
        if (timed_build) {
            const double ms = lib.time_ms(p.call);
            if (ms > slowest) {
                slowest = ms;
                slowest_call = p.call;
            }
        }
    }
    std::printf("%-10s %4zu points  worst %s error %.2e at %s", c.file, checked,
                c.measure == Measure::Relative ? "relative" : "absolute", worst, worst_call.c_str());
    if (timed_build) std::printf("  slowest %.2f ms at %s", slowest, slowest_call.c_str());
    std::printf("\n");
    EXPECT_LE(worst, c.limit) << "at " << worst_call;
    if (timed_build) {
        EXPECT_LE(slowest, call_budget_ms) << "at " << slowest_call;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Reference, LibraryAccuracyTest,
    ::testing::Values(AccuracyCase{"gamma", Measure::Relative, 1e-13},
                      AccuracyCase{"Jn", Measure::Relative, 1e-11},
                      AccuracyCase{"Jn_zeros", Measure::Absolute, 1e-12},
                      AccuracyCase{"Yn", Measure::Relative, 1e-11},
                      AccuracyCase{"Yn_zeros", Measure::Absolute, 1e-12},
                      AccuracyCase{"In", Measure::Relative, 1e-11},
                      AccuracyCase{"Kn", Measure::Relative, 1e-11},
                      AccuracyCase{"normal", Measure::Relative, 1e-10},
                      AccuracyCase{"upperX", Measure::Relative, 1e-10},
                      AccuracyCase{"upperT", Measure::Relative, 1e-10},
                      AccuracyCase{"upperF", Measure::Relative, 1e-10},
                      AccuracyCase{"upperB", Measure::Relative, 1e-10},
                      AccuracyCase{"upperP", Measure::Relative, 1e-10},
                      AccuracyCase{"upperH", Measure::Relative, 1e-10},
                      AccuracyCase{"upperNi", Measure::Relative, 1e-9},
                      AccuracyCase{"upperXi", Measure::Relative, 1e-9},
                      AccuracyCase{"upperTi", Measure::Relative, 1e-9},
                      AccuracyCase{"upperFi", Measure::Relative, 1e-9},
                      AccuracyCase{"solve_nw", Measure::Relative, 1e-9},
                      AccuracyCase{"solve_bi", Measure::Relative, 1e-9},
                      AccuracyCase{"integ", Measure::Relative, 1e-9},
                      AccuracyCase{"var", Measure::Relative, 1e-15},
                      AccuracyCase{"std", Measure::Relative, 1e-15},
                      AccuracyCase{"Fract", Measure::Absolute, 0}),
    [](const ::testing::TestParamInfo<AccuracyCase>& info) { return std::string(info.param.file); });

TEST(LibraryStartTest, LoadsQuietlyAndQuickly) {
    const auto start = Clock::now();
    LibrarySession lib;
    const double ms = ms_since(start);
    std::printf("start-up with the library: %.2f ms\n", ms);
    EXPECT_EQ(lib.raw().host.lines, std::vector<std::string>{});
    if (timed_build) {
        EXPECT_LE(ms, load_budget_ms);
    }
    // A first call that needs the most locals at once does not have to grow
    // the table (which would print a notice).
    for (int i = 1; i <= 40; ++i) lib.run("v" + std::to_string(i) + " = " + std::to_string(i));
    EXPECT_EQ(lib.run("ANS = upperTi(2, 1e-300)"), std::vector<std::string>{});
}

struct BadArgumentCase {
    int line;
    const char* call;
    const char* message;
};

TEST(LibraryBadArgumentTest, StopsWithAClearMessageAndNoResult) {
    const BadArgumentCase cases[] = {
        {__LINE__, "gamma(0)", "gamma: x must not be 0 or a negative integer"},
        {__LINE__, "gamma(-3)", "gamma: x must not be 0 or a negative integer"},
        {__LINE__, "Jn(-1, 2)", "Jn: the order n must be a whole number >= 0"},
        {__LINE__, "Jn(1.5, 2)", "Jn: the order n must be a whole number >= 0"},
        {__LINE__, "Yn(2, 0)", "Yn: x must be > 0"},
        {__LINE__, "Yn(-2, 1)", "Yn: the order n must be a whole number >= 0"},
        {__LINE__, "In(0.5, 1)", "In: the order n must be a whole number >= 0"},
        {__LINE__, "Kn(1, -1)", "Kn: x must be > 0"},
        {__LINE__, "upperX(0, 1)", "upperX: the degrees of freedom n must be a whole number >= 1"},
        {__LINE__, "upperT(2.5, 1)", "upperT: the degrees of freedom n must be a whole number >= 1"},
        {__LINE__, "upperF(1, 0, 1)", "upperF: the degrees of freedom n2 must be a whole number >= 1"},
        {__LINE__, "upperNi(0)", "upperNi: p must lie strictly between 0 and 1"},
        {__LINE__, "upperNi(1)", "upperNi: p must lie strictly between 0 and 1"},
        {__LINE__, "upperXi(3, 1.5)", "upperXi: p must lie strictly between 0 and 1"},
        {__LINE__, "upperTi(3, -0.1)", "upperTi: p must lie strictly between 0 and 1"},
        {__LINE__, "upperFi(3, 4.5, 0.1)", "upperFi: the degrees of freedom n2 must be a whole number >= 1"},
        {__LINE__, "upperB(10.5, 0.5, 3)", "upperB: the number of trials n must be a whole number >= 0"},
        {__LINE__, "upperB(10, 1.5, 3)", "upperB: the probability p must lie between 0 and 1"},
        {__LINE__, "upperB(10, 0.5, 2.5)", "upperB: x must be a whole number"},
        {__LINE__, "upperP(-1, 3)", "upperP: the mean lambda must be > 0"},
        {__LINE__, "upperP(2, 0.5)", "upperP: x must be a whole number"},
        {__LINE__, "upperH(10, 11, 3, 1)", "upperH: the successes M must be a whole number from 0 to N"},
        {__LINE__, "upperH(10, 4, 12, 1)", "upperH: the number drawn n must be a whole number from 0 to N"},
        {__LINE__, "upperH(10, 4, 3, 1.5)", "upperH: x must be a whole number"},
        {__LINE__, "solve_bi(\"x^2+1\", \"x\", 0, 1)", "solve_bi: the function must change sign between a and b"},
        {__LINE__, "solve_nw(\"x^2+1\", \"x\", 0)", "solve_nw: the derivative is zero; try another starting point"},
        {__LINE__, "solve_nw(\"x^2+1\", \"x\", 0.5)", "solve_nw: no convergence; try another starting point"},
        {__LINE__, "integ(\"x\", \"x\", 0, 1, 2)", "integ: npoints must be at least 3"},
        {__LINE__, "integ(1, \"x\", 0, 1, 100)", "sSTRING expected line=1"},
        {__LINE__, "addplot(10, \"x\", \"x\", 0, 1)", "addplot: the series s must be a whole number from 1 to 9"},
        {__LINE__, "addplot(1.5, \"x\", \"x\", 0, 1)", "addplot: the series s must be a whole number from 1 to 9"},
        {__LINE__, "hex(2.5)", "hex: n must be a whole number from -2147483648 to 4294967295"},
        {__LINE__, "oct(4294967296)", "oct: n must be a whole number from -2147483648 to 4294967295"},
        {__LINE__, "bin(-2147483649)", "bin: n must be a whole number from -2147483648 to 4294967295"},
        {__LINE__, "base(\"12\", 2)", "base: s must hold digits of base b only, after an optional -"},
        {__LINE__, "base(\"\", 10)", "base: s must hold digits of base b only, after an optional -"},
        {__LINE__, "base(\"-\", 10)", "base: s must hold digits of base b only, after an optional -"},
        {__LINE__, "base(\"1\", 37)", "base: the base b must be a whole number from 2 to 36"},
        {__LINE__, "base(\"1\", 1.5)", "base: the base b must be a whole number from 2 to 36"},
    };
    LibrarySession lib;
    for (const BadArgumentCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "line " << c.line << ": " << c.call);
        lib.run("r = 12345");
        const auto lines = lib.run(std::string("r = ") + c.call);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.front(), c.message);
        if (std::string(c.message).find(" line=") == std::string::npos) {
            EXPECT_EQ(lines, (std::vector<std::string>{c.message, "Program Halted! line=1"}));
        }
        EXPECT_EQ(lib.value("r"), 12345) << "a wrong number was stored";
        EXPECT_EQ(lib.session().run_state, session::RunState::Idle);
    }
}

// The language's limits that the library lives with: these are the ways a
// careless library would give wrong numbers.
TEST(LibraryHouseRulesTest, ResultsDoNotDependOnTheAngleUnit) {
    LibrarySession lib;
    const double j = lib.value("Jn(0, 30)");
    const double y = lib.value("Yn(3, 40.5)");
    const double g = lib.value("gamma(-2.5)");
    lib.run("sysangle = 1");
    EXPECT_EQ(lib.value("Jn(0, 30)"), j);
    EXPECT_EQ(lib.value("Yn(3, 40.5)"), y);
    EXPECT_EQ(lib.value("gamma(-2.5)"), g);
}

TEST(LibraryHouseRulesTest, ArgumentsPassedAsVariablesAreLeftAlone) {
    LibrarySession lib;
    lib.run("x = -2.5: n = 3: p = 0.01");
    const double expected_gamma = lib.value("gamma(-2.5)");
    EXPECT_EQ(lib.value("gamma(x)"), expected_gamma);
    lib.value("Yn(n, 2) + upperTi(n, p) + upperH(20, 10, 5, n)");
    EXPECT_EQ(lib.value("x"), -2.5);
    EXPECT_EQ(lib.value("n"), 3);
    EXPECT_EQ(lib.value("p"), 0.01);
}

TEST(LibraryHouseRulesTest, UserFunctionsNamedLikeParametersDoNotInterfere) {
    LibrarySession lib;
    const double j = lib.value("Jn(2, 1.5)");
    const double t = lib.value("upperTi(5, 0.05)");
    lib.run("function n(q): n = 7: endfn");
    lib.run("function x(q): x = 7: endfn");
    lib.run("function p(q): p = 7: endfn");
    EXPECT_EQ(lib.value("Jn(2, 1.5)"), j);
    EXPECT_EQ(lib.value("upperTi(5, 0.05)"), t);
}

TEST(LibraryHouseRulesTest, SolversLeaveTheUsersVariablesAlone) {
    LibrarySession lib;
    lib.run("x = 5: nw_x = 6");
    const double root = lib.value("solve_nw(\"x^2-2\", \"x\", 1)");
    EXPECT_NEAR(root, std::sqrt(2.0), 1e-15);
    EXPECT_NEAR(lib.value("integ(\"x^2\", \"x\", 0, 3, 100)"), 9, 1e-12);
    EXPECT_EQ(lib.value("x"), 5);
    EXPECT_EQ(lib.value("nw_x"), 6);
    // Values reach the expression at full precision, not through STR's
    // eight digits.
    EXPECT_NEAR(lib.value("solve_bi(\"x-1.23456789012\", \"x\", 0, 2)"), 1.23456789012, 1e-15);
}

TEST(LibraryHouseRulesTest, ASolverCalledFromEvaluatedTextIsRefusedNotRunOnGarbage) {
    LibrarySession lib;
    lib.run("f = \"x^2-2\": v = \"x\": r = 7");
    EXPECT_EQ(lib.run("eval \"r = solve_nw(f, v, 1)\""),
              std::vector<std::string>{"Cannot call eval from eval line=1"});
    EXPECT_EQ(lib.value("r"), 7);
    EXPECT_NEAR(lib.value("solve_nw(f, v, 1)"), std::sqrt(2.0), 1e-15);
}

TEST(LibraryHouseRulesTest, TwoCallsOfOneFunctionInAnExpressionAreSafeInsideTheLibrary) {
    // upperH sums terms of three log-binomials; each is kept before the next.
    LibrarySession lib;
    EXPECT_NEAR(lib.value("upperH(10, 4, 3, 1)"), 1.0 - 20.0 / 120.0, 1e-15);
}

TEST(LibraryPlotTest, PlotSamplesIntoSeriesOneAndAddplotBeside) {
    LibrarySession lib;
    lib.run("SERIEY(5, [1, 2, 3])");
    EXPECT_EQ(lib.run("plot(\"x^2\", \"x\", 0, 2)"), std::vector<std::string>{});
    const graph::SeriesTable& t = lib.session().series;
    ASSERT_EQ(t[1].points.size(), 201U);
    EXPECT_TRUE(t[5].points.empty()) << "plot starts a new chart";
    EXPECT_EQ(t[1].type, graph::GraphType::Lines);
    EXPECT_EQ(t[1].title, "x^2");
    for (std::size_t i = 0; i < t[1].points.size(); ++i) {
        const double x = 2.0 * static_cast<double>(i) / 200.0;
        EXPECT_FLOAT_EQ(t[1].points[i].x, static_cast<float>(x));
        EXPECT_FLOAT_EQ(t[1].points[i].y, static_cast<float>(x * x));
    }
    EXPECT_EQ(lib.run("addplot(3, \"exp(-t)\", \"t\", -1, 1)"), std::vector<std::string>{});
    ASSERT_EQ(t[3].points.size(), 201U);
    EXPECT_EQ(t[1].points.size(), 201U) << "addplot keeps the other series";
    EXPECT_FLOAT_EQ(t[3].points.front().y, static_cast<float>(std::exp(1.0)));
    EXPECT_FLOAT_EQ(t[3].points.back().y, static_cast<float>(std::exp(-1.0)));
    EXPECT_GT(lib.raw().host.chart_redraws, 0);
}

}  // namespace
}  // namespace ostrac
