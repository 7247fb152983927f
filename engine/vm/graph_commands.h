// The graph commands of the language. They fill the session's series table
// and ask the host to redraw the chart from a copy of it.
//
// Each built-in checks its argument count, pops its arguments last first
// (numbers with pop_real, rounded down to an integer; matrices with
// pop_matrix; strings with pop_string), then checks the series number
// (0 to 9, "Error: number of serie must be between 1 and 9") before any other
// value, and leaves SUB0 as its result. Only the real part of a matrix
// element is used, as a 32-bit float. An error leaves the table as the command
// had already changed it.
#pragma once

namespace ostrac::state {
class Machine;
}

namespace ostrac::vm {

// n A cx cy cnt(4) -> SUB0: slot n gets one point per row i of A,
// (A(i, cx), A(i, cy)); cx, then cy, must name a column of A. Redraws.
void op_seriexym(state::Machine& s);

// n X Y cnt(3) -> SUB0: slot n gets one point per column i, (X(1, i), Y(1, i));
// X and Y need the same column count, then one row each. Redraws.
void op_seriexy(state::Machine& s);

// n V cnt(2) -> SUB0: slot n gets one point per column i, (i, V(1, i)); V
// needs one row. Redraws.
void op_seriey(state::Machine& s);

// main x y cnt(3) -> SUB0: the chart's main, bottom axis and left axis titles,
// passed to the host at once. No redraw.
void op_titles(state::Machine& s);

// n t name cnt(3) -> SUB0: slot n is drawn as type t (0 to 3) under the first
// 39 characters of name. No redraw.
void op_setserie(state::Machine& s);

// n cnt(1) -> SUB0: slot n loses its points; n = 0 empties slots 1 to 9 and
// keeps slot 0. Titles and types stay. Redraws.
void op_gclear(state::Machine& s);

// The gdraw statement: redraws, and leaves the stack as it found it.
void op_graph(state::Machine& s);

}  // namespace ostrac::vm
