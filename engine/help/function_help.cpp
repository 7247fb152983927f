#include "help/function_help.h"

#include <algorithm>
#include <cstddef>

#include "code/names.h"

namespace ostrac::help {

namespace {

// Descriptions shared by several entries.
constexpr std::string_view plot_description = "Draws a function or expression in a given domain";
constexpr HelpParameter plot_function{"Function", "string defining the function or expression to plot", true};
constexpr HelpParameter plot_variable{"var", "string defining the independent variable of the expression", true};
constexpr HelpParameter plot_start{"x0", "initial value of the independent variable"};
constexpr HelpParameter plot_end{"xf", "final value of the independent variable"};
constexpr HelpParameter series_number{"Series", "series number from 0 to 9"};
constexpr HelpParameter angle{"z", "angle in the current angle unit, or a complex number"};
constexpr HelpParameter real_number{"x", "real number"};
constexpr HelpParameter complex_number{"z", "real or complex number"};
constexpr HelpParameter matrix{"M", "matrix, for example [1,2;3,4]"};
constexpr HelpParameter square_matrix{"M", "square matrix, for example [1,2;3,4]"};
constexpr HelpParameter data_vector{"V", "row vector of data, for example [2,4,4,5]"};
constexpr HelpParameter first_vector{"V1", "first row vector of data"};
constexpr HelpParameter second_vector{"V2", "second row vector of data, as long as the first"};
constexpr HelpParameter bessel_order{"n", "order of the function, a whole number"};
constexpr HelpParameter expression{"strFn", "string defining the expression"};
constexpr HelpParameter unknown{"strV", "string naming the variable of the expression", true};
constexpr HelpParameter degrees_of_freedom{"n", "degrees of freedom"};
constexpr HelpParameter numerator_freedom{"n1", "degrees of freedom of the numerator"};
constexpr HelpParameter denominator_freedom{"n2", "degrees of freedom of the denominator"};
constexpr HelpParameter point{"x", "point of the distribution"};
constexpr HelpParameter probability{"p", "upper tail probability, between 0 and 1"};
constexpr HelpParameter whole_32_bit{"n", "whole number from -2147483648 to 4294967295"};

constexpr HelpParameter quoted(HelpParameter p, std::string_view description) {
    p.description = description;
    p.quoted = true;
    return p;
}

constexpr HelpParameter described(HelpParameter p, std::string_view description) {
    p.description = description;
    return p;
}

constexpr std::array<HelpEntry, 73> help_table{{
    {1, "plot ", "PLOT ( funcion , var , x0 ,  xf ) ", plot_description,
     {{plot_function, plot_variable, plot_start, plot_end}}},
    {2, "addplot ", "ADDPLOT ( serie, Function , var , x0 , xf)", plot_description,
     {{{"nserie", "Series number from 1 to 9"}, plot_function, plot_variable, plot_start, plot_end}}},
    {3, "Titles ", "TITLES ( strTitle1, strTitlex, strTitley )",
     "Sets the title of the chart and the titles of its horizontal and vertical axes",
     {{{"Title1", "main title of the chart", true},
       {"Titlex", "title of the horizontal axis", true},
       {"Titley", "title of the vertical axis", true}}}},
    {4, "SetSerie ", "SETSERIE ( nSerie, nTypeGraph, strSeriesName )",
     "Defines the type of chart and the name of a series",
     {{{"Series", "series number"},
       {"Type", "type of chart for the series (0-3): [0=Lines XY] [1=Pie] [2=Bars] [3=Area]"},
       {"SeriesName", "name of the series . (Leave it in blank \"\" to not display the name in the chart)", true}}}},
    {5, "gdraw", "gdraw", "plots o redraws the chart with actual parameters", {}},
    {6, "gclear", "GCLEAR ( nSeries )", "Erases the specified series.",
     {{{"Series", "If the number of nSeries is 0 then all the series will be erased."}}}},
    {7, "seriexym", "SERIEXYM ( nSeries, mA, nColx, nColy )",
     "Fills a series with one point per row of a matrix: x from one column, y from another",
     {{series_number,
       {"A", "matrix holding the data"},
       {"Colx", "column of the matrix holding the x values"},
       {"Coly", "column of the matrix holding the y values"}}}},
    {8, "seriexy", "SERIEXY ( nSeries, vX, vY )",
     "Fills a series with the points (x, y) of two row vectors of the same length",
     {{series_number, {"vX", "row vector of the x values"}, {"vY", "row vector of the y values"}}}},
    {9, "seriey", "SERIEY ( nSeries, vColy )",
     "Fills a series with the values of a row vector as y, against their positions 1, 2, 3 ... as x",
     {{series_number, {"vColy", "row vector of the y values"}}}},
    {10, "sin", "SIN(z)",
     "Sine. A real angle is taken in the current angle unit (RAD, DEG or GRAD), a complex one in radians",
     {{angle}}},
    {11, "cos", "COS(z)",
     "Cosine. A real angle is taken in the current angle unit (RAD, DEG or GRAD), a complex one in radians",
     {{angle}}},
    {12, "tan", "TAN(x)", "Tangent of an angle in the current angle unit; complex angles are not implemented",
     {{described(angle, "angle in the current angle unit")}}},
    {13, "asin", "ASIN(x)", "Arc sine, given in the current angle unit",
     {{described(real_number, "real number from -1 to 1")}}},
    {14, "acos", "ACOS (x)", "Arc cosine, given in the current angle unit",
     {{described(real_number, "real number from -1 to 1")}}},
    {15, "atan", "ATAN (x)", "Arc tangent, given in the current angle unit", {{real_number}}},
    {16, "sinh ", "SINH (x)", "Hyperbolic sine of a real number", {{real_number}}},
    {17, "cosh ", "COSH (x)", "Hyperbolic cosine of a real number", {{real_number}}},
    {18, "tanh ", "TANH (x)", "Hyperbolic tangent of a real number", {{real_number}}},
    {19, "asinh ", "ASINH (x)", "Inverse hyperbolic sine: ln(x + sqrt(x^2 + 1))", {{real_number}}},
    {20, "acosh ", "ACOSH (x)", "Inverse hyperbolic cosine: ln(x + sqrt(x^2 - 1))",
     {{described(real_number, "real number, at least 1")}}},
    {21, "atanh ", "ATANH (x)", "Inverse hyperbolic tangent: 0.5*ln((1 + x)/(1 - x))",
     {{described(real_number, "real number between -1 and 1")}}},
    {22, "exp ", "EXP(z)", "e raised to the power z", {{described(complex_number, "real or complex exponent")}}},
    {23, "ln ", "LN(z)",
     "Natural logarithm. A negative or complex number gives a complex result, its imaginary part in radians",
     {{described(complex_number, "real or complex number other than 0")}}},
    {24, "log ", "LOG(x)", "Base 10 logarithm", {{described(real_number, "positive real number")}}},
    {25, "gamma ", "GAMMA(x)", "Gamma function; gamma(n + 1) equals the factorial of a whole number n",
     {{described(real_number, "real number other than 0 and the negative whole numbers")}}},
    {26, "Jn ", "Jn(n,x)", "Bessel function of the first kind of order n",
     {{bessel_order, described(real_number, "point where the function is evaluated")}}},
    {27, "Yn ", "Yn(n,x)", "Bessel function of the second kind of order n",
     {{bessel_order, described(real_number, "point where the function is evaluated, greater than 0")}}},
    {28, "In ", "In(n,x)", "Modified Bessel function of the first kind of order n",
     {{bessel_order, described(real_number, "point where the function is evaluated")}}},
    {29, "Kn ", "Kn(n,x)", "Modified Bessel function of the second kind of order n",
     {{bessel_order, described(real_number, "point where the function is evaluated, greater than 0")}}},
    {30, "Real ", "Real (z)", "Real part of a complex number", {{complex_number}}},
    {31, "Im ", "Im (z)", "Imaginary part of a complex number (0 for a real number)", {{complex_number}}},
    {32, "Arg ", "Arg (z)", "Argument (angle) of a complex number, given in the current angle unit",
     {{complex_number}}},
    {33, "Abs", "Abs (z)", "Modulus of a complex number: sqrt(re^2 + im^2)", {{complex_number}}},
    {34, "Sqrt", "Sqrt (z)", "Principal square root; a negative number gives an imaginary result",
     {{complex_number}}},
    {35, "fact", "Fact (x)", "Factorial. The sign and the decimals of x are dropped; above 170 it overflows",
     {{described(real_number, "number whose factorial is wanted")}}},
    {36, "nPr", "nPr (n,r)", "Permutations of n elements taken r at a time: n!/(n-r)!",
     {{{"n", "number of elements"}, {"r", "elements taken each time"}}}},
    {37, "nCr", "nCr (n,r)", "Combinations of n elements taken r at a time: n!/((n-r)!*r!)",
     {{{"n", "number of elements"}, {"r", "elements taken each time"}}}},
    {38, "inv", "Inv (M)", "Inverse of a square matrix", {{square_matrix}}},
    {39, "det", "det (M)", "Determinant of a square matrix", {{square_matrix}}},
    {40, "trans", "trans (M)", "Transpose of a matrix: its rows become columns", {{matrix}}},
    {41, "rows", "rows (M)", "Number of rows of a matrix", {{matrix}}},
    {42, "cols", "cols (M)", "Number of columns of a matrix", {{matrix}}},
    {43, "abs", "abs (v)", "Length (Euclidean norm) of a vector: the square root of the sum of its squares",
     {{{"v", "row vector of real numbers, for example [3,4]"}}}},
    {44, "solve_nw", "solve_nw(strfn,strv,x0)",
     "Finds a root of an expression by Newton's method, starting from an initial guess",
     {{quoted(expression, "string defining the expression whose root is searched"), unknown,
       {"x0", "initial guess of the root"}}}},
    {45, "solve_bi", "solve_bi(strfn,strv,x0,xf)",
     "Finds a root of an expression by bisection of an interval at whose ends the expression has opposite signs",
     {{quoted(expression, "string defining the expression whose root is searched"), unknown,
       {"x0", "start of the interval"}, {"xf", "end of the interval"}}}},
    {46, "integ", "integ ( strfn, strx, x0, xf, npoints)",
     "returns the numeric integration of an expression using the Romberg's Method",
     {{quoted(expression, "string defining the expression to integrate"),
       described(unknown, "string naming the variable of integration"),
       {"x0", "lower limit of integration"},
       {"xf", "upper limit of integration"},
       {"npoints", "number of points for integration ( put >1000 for average results)"}}}},
    {47, "zerpol", "zerpol (v)", "Finds the roots of a polynomial",
     {{{"V", "vector with the coefficients of a polynomial from the greatest degree to lesser degree, finnishing "
             "with the independent terminus.( Degree can be 20 at maximum)"}}}},
    {49, "Int", "Int (x)", "Integer part of x, truncated toward zero", {{real_number}}},
    {48, "Round", "Round (x,ndec)", "Rounds at the number of decimals",
     {{{"x", "Real number"}, {"ndec", "number of decimals <0. Example -1 rounds to first decimal"}}}},
    {50, "Fract", "Fract (x)", "Fractional part of x, with the sign of x", {{real_number}}},
    {51, "Mean", "mean ( V )", "Arithmetic mean of the elements of a vector", {{data_vector}}},
    {52, "sumx", "sumx ( V )", "Sum of the elements of a vector", {{data_vector}}},
    {53, "sumxy", "sumxy ( V1, V2 )", "Sum of the products of the corresponding elements of two vectors",
     {{first_vector, second_vector}}},
    {54, "var", "var ( V )", "Sample variance of the elements of a vector (divided by n-1)", {{data_vector}}},
    {55, "std", "std ( V )", "Sample standard deviation of the elements of a vector (divided by n-1)",
     {{data_vector}}},
    {56, "cov", "cov( V1,V2 )", "Covariance of two data vectors (divided by n)", {{first_vector, second_vector}}},
    {57, "corr", "corr( V1,V2 )", "Correlation coefficient of two data vectors", {{first_vector, second_vector}}},
    {58, "normal", "normal(x)", "Upper tail probability of the standard normal distribution: P(Z > x)", {{point}}},
    {60, "upperX", "upperX(n,x)", "Upper tail probability of the chi-square distribution: P(X > x)",
     {{degrees_of_freedom, point}}},
    {61, "upperT", "upperT(n,x)", "Upper tail probability of Student's t distribution, one tail: P(T > x)",
     {{degrees_of_freedom, point}}},
    {62, "upperF", "upperF(n1,n2,x)", "Upper tail probability of Snedecor's F distribution: P(F > x)",
     {{numerator_freedom, denominator_freedom, point}}},
    {63, "upperNi", "upperNi(p)", "Percentage point of the standard normal distribution: the x with P(Z > x) = p",
     {{probability}}},
    {64, "upperXi", "upperXi(n,p)", "Percentage point of the chi-square distribution: the x with P(X > x) = p",
     {{degrees_of_freedom, probability}}},
    {65, "upperTi", "upperTi(n,p)", "Percentage point of Student's t distribution: the x with P(T > x) = p",
     {{degrees_of_freedom, probability}}},
    {66, "upperFi", "upperFi(n1,n2,p)", "Percentage point of Snedecor's F distribution: the x with P(F > x) = p",
     {{numerator_freedom, denominator_freedom, probability}}},
    {67, "upperB", "upperB(n,p,x)",
     "Probability of at least x successes, P(X >= x), in n trials with probability p of success in each",
     {{{"n", "number of trials"}, {"p", "probability of success in one trial"}, {"x", "number of successes"}}}},
    {68, "upperP", "upperP(lambda,x)", "Probability of at least x events, P(X >= x), in a Poisson distribution of mean lambda",
     {{{"lambda", "mean number of events"}, {"x", "number of events"}}}},
    {69, "upperH", "upperH(N,M,n,x)",
     "Probability of at least x successes, P(X >= x), in a sample of n drawn without replacement "
     "from N items of which M are successes",
     {{{"N", "number of items in the population"},
       {"M", "number of successes in the population"},
       {"n", "number of items in the sample"},
       {"x", "number of successes in the sample"}}}},
    {71, "hex", "hex (n)", "Hexadecimal digits of a whole number, as a string; negatives in 32-bit two's complement",
     {{whole_32_bit}}},
    {72, "oct", "oct (n)", "Octal digits of a whole number, as a string; negatives in 32-bit two's complement",
     {{whole_32_bit}}},
    {73, "bin", "bin (n)", "Binary digits of a whole number, as a string; negatives in 32-bit two's complement",
     {{whole_32_bit}}},
    {74, "base", "base (strDigits, b)", "The number written with the digits of base b, 0 to 9 and A to Z",
     {{{"s", "digits of the number, for example FF; a leading - negates", true}, {"b", "base, from 2 to 36"}}}},
    {70, "cu", "cu ( strSourceUnit , strTargetUnit )",
     "Returns the conversion factor from Source unit to the Target unit", {{{"Source", ""}, {"Target", ""}}}},
}};

// A call writes the named parameters in order, so no named parameter may follow
// an unnamed one.
constexpr bool parameters_lead() {
    for (const HelpEntry& entry : help_table) {
        bool ended = false;
        for (const HelpParameter& p : entry.parameters) {
            if (p.name.empty()) {
                ended = true;
            } else if (ended) {
                return false;
            }
        }
    }
    return true;
}
static_assert(parameters_lead());

constexpr bool ids_positive_and_distinct() {
    for (std::size_t i = 0; i < help_table.size(); ++i) {
        if (help_table[i].id <= 0) return false;
        for (std::size_t j = i + 1; j < help_table.size(); ++j) {
            if (help_table[i].id == help_table[j].id) return false;
        }
    }
    return true;
}
static_assert(ids_positive_and_distinct());

// A longer name would be cut by the symbol table and could never be called.
constexpr bool names_callable() {
    for (const HelpEntry& entry : help_table) {
        if (entry.call_name().empty() || entry.call_name().size() > code::max_name_length) return false;
    }
    return true;
}
static_assert(names_callable());

}  // namespace

std::span<const HelpEntry> help_entries() { return help_table; }

const HelpEntry* find_help(int id) {
    const auto found =
        std::find_if(help_table.begin(), help_table.end(), [id](const HelpEntry& entry) { return entry.id == id; });
    return found == help_table.end() ? nullptr : &*found;
}

std::vector<const HelpEntry*> find_help_by_name(std::string_view name) {
    std::vector<const HelpEntry*> found;
    for (const HelpEntry& entry : help_table) {
        if (code::names_equal(entry.call_name(), name)) found.push_back(&entry);
    }
    return found;
}

}  // namespace ostrac::help
