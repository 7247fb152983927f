// Built-in functions called by name from the console, compiled and run end
// to end: the pane lines they print, their messages, and the stack left empty.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scripts.h"
#include "support/test_session.h"

namespace ostrac {
namespace {

using test::TestSession;
using Lines = std::vector<std::string>;

using test::run_scripts;

TEST(BuiltinConsoleTest, NamesAndDisplay) {
    run_scripts({
        {__LINE__, {"sysangle = 1", "print sin(30)"}, {"0.5"}},
        {__LINE__, {"sysangle = 2", "print asin(1)"}, {"100"}},
        {__LINE__, {"sysangle = 1", "print SIN(30) + Sin(30)"}, {"1"}},
        {__LINE__, {"sysangle = 1", "print arg(1i)"}, {"90"}},
        {__LINE__, {"sysangle = 2", "print sin(1i)"}, {"0+1.1752012i "}},
        {__LINE__, {"sysangle = 1", "print ln(-1)"}, {"0+3.1415927i "}},
        {__LINE__, {"print sqr(-4)"}, {"1.2246468e-16+2i "}},
        {__LINE__, {"print log(1000) + log10(100)"}, {"5"}},
        {__LINE__, {"print abs(3+4i), \" \", abs([3,4])"}, {"5 5"}},
        {__LINE__, {"print int(-2.9999999995), \" \", round(-2.5, 0), \" \", fact(-5)"}, {"-3 -2 120"}},
        {__LINE__, {"print fact(171)"}, {"inf"}},
        {__LINE__, {"print INV([0,1;1,0])"}, {"[ 0 , 1 ] ", "[ 1 , 0 ] ", ""}},
        {__LINE__, {"v = [2,4,4,4,5,5,7,9]", "print mean(v), \" \", sdx(v)"}, {"5 2.138089935"}},
        {__LINE__, {"print zerpol([1,-3,2])"}, {"[ 1 , 2 ] ", ""}},
        {__LINE__, {"print cu(\"km\", \"m\"), \" \", cu(\"gal(us)\", \"l\")"}, {"1000 3.785412534"}},
        {__LINE__, {"print STR(5) + \"|\", len(STR(5))"}, {"5 |2"}},
        {__LINE__, {"syscoord = 1", "sysangle = 1", "print STR(-5)"}, {"5@180 "}},
    });
}

TEST(BuiltinConsoleTest, Messages) {
    run_scripts({
        {__LINE__, {"print sin(1, 2)"}, {"Number of parameters is incorrect line=1"}},
        {__LINE__, {"print tan(1i)"}, {"Not implemented! line=1"}},
        {__LINE__, {"print acos(2i)"}, {"float expected line=1"}},
        {__LINE__, {"print rows(5)"}, {"Incorrect type line=1"}},
        {__LINE__, {"print DET([1,2;2,4])"}, {"the matrix has not inverse line=1"}},
        {__LINE__, {"print INV([1,2,3])"}, {"Invalid dimensions line=1"}},
        {__LINE__, {"print cu(\"furlong\", 5)"}, {"sSTRING expected line=1"}},
        {__LINE__, {"print zerpol([1])"}, {"Error in Zerpol: min degree 2 line=1"}},
    });
}

}  // namespace
}  // namespace ostrac
