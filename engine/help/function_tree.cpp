#include "help/function_tree.h"

#include <array>
#include <cstddef>

namespace ostrac::help {

namespace {

constexpr auto tree_table = std::to_array<TreeNode>({
    {0, "General", -1},
    {1, "Trigonometrical", 0},
    {2, "sin(z)", 10},
    {2, "cos(z)", 11},
    {2, "tan(z)", 12},
    {2, "asin(z)", 13},
    {2, "acos(z)", 14},
    {2, "atan(z)", 15},
    {1, "Hyperbolical", 0},
    {2, "sinh(x)", 16},
    {2, "cosh(x)", 17},
    {2, "tanh(x)", 18},
    {2, "asinh(x)", 19},
    {2, "acosh(x)", 20},
    {2, "atanh(x)", 21},
    {1, "Exponential", 0},
    {2, "exp(z)", 22},
    {2, "ln(z)", 23},
    {2, "log(x)", 24},
    {1, "Bessel", 0},
    {2, "gamma (x)", 25},
    {2, "Jn (n,x)", 26},
    {2, "Yn (n,x)", 27},
    {2, "In (n,x)", 28},
    {2, "Kn (n,x)", 29},
    {1, "Complex", 0},
    {2, "Real (z)", 30},
    {2, "Im (z)", 31},
    {2, "Arg (z)", 32},
    {2, "Abs (z)", 33},
    {2, "Sqrt (z)", 34},
    {1, "Combinatory", 0},
    {2, "fact (x)", 35},
    {2, "nPr (n,r)", 36},
    {2, "nCr (n,r)", 37},
    {1, "Matrix", 0},
    {2, "inv (M)", 38},
    {2, "det (M)", 39},
    {2, "trans (M)", 40},
    {2, "rows (M)", 41},
    {2, "cols (M)", 42},
    {1, "Vector", 0},
    {2, "abs (v)", 43},
    {0, "Graphics", 0},
    {1, "plot", 1},
    {1, "addplot", 2},
    {1, "titles", 3},
    {1, "setserie", 4},
    {1, "gdraw", 5},
    {1, "gclear", 6},
    {1, "seriexym", 7},
    {1, "seriexy", 8},
    {1, "seriey", 9},
    {0, "Numerical", 0},
    {1, "Solve Newton", 44},
    {1, "Solve Bisection", 45},
    {1, "Integration", 46},
    {1, "Poly roots", 47},
    {0, "Misc", 0},
    {1, "Round", 0},
    {2, "Round", 48},
    {2, "Int", 49},
    {1, "Fractions", 50},
    {1, "Integer bases", 0},
    {2, "Hexadecimal", 71},
    {2, "Octal", 72},
    {2, "Binary", 73},
    {2, "From a base", 74},
    {0, "Statistical", 0},
    {1, "Mean", 51},
    {1, "sumx", 52},
    {1, "sumxy", 53},
    {1, "typical deviation", 54},
    {1, "standard deviation", 55},
    {1, "covariance", 56},
    {1, "correlation factor", 57},
    {0, "Probability", 0},
    {1, "Upper Prob", 0},
    {2, "N(0,1)", 58},
    {2, "Chi square", 60},
    {2, "Student's t", 61},
    {2, "Snedecor's F", 62},
    {1, "Percent. point", 0},
    {2, "Normal", 63},
    {2, "Chi Square", 64},
    {2, "Student's t", 65},
    {2, "Snedecor's F", 66},
    {1, "Upper frequencies", 0},
    {2, "Binomial", 67},
    {2, "Poisson", 68},
    {2, "Hypergeometric", 69},
    {0, "Unit Conversion", 70},
});

// Each node is at most one level below the node before it, so every node
// but the first top-level one has a parent.
constexpr bool nesting_sound() {
    if (tree_table.front().depth != 0) return false;
    for (std::size_t i = 1; i < tree_table.size(); ++i) {
        if (tree_table[i].depth < 0 || tree_table[i].depth > tree_table[i - 1].depth + 1) return false;
    }
    return true;
}
static_assert(nesting_sound());

}  // namespace

std::span<const TreeNode> function_tree() { return tree_table; }

}  // namespace ostrac::help
