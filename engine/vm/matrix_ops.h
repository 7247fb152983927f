// Matrix literals and element access on matrices and strings. Indexes seen by
// the user start at 1. Every failure stops the command through fatal_error.
#pragma once

#include "state/value.h"

namespace ostrac::state {
class Machine;
}

namespace ostrac::vm {

using state::MatrixRef;
using state::Text;

// Matrix literal. Stack, bottom to top: the elements of each row left to
// right, each row followed by its column count (int), then the row count
// (int) -> the matrix. Elements must be numbers ("float expected"); rows of
// different lengths fail with "Error: number of columns varies".
void op_matrix(state::Machine& s);

// Element write. Stack, bottom to top: the indexes, their count, the value,
// the target identifier. A String target takes one index: character k becomes
// the first character of the string value, and an empty value cuts the string
// before k. A Matrix target takes two indexes and a number; an index beyond
// the shape grows the matrix (new elements 0). Storage shared with another
// variable or cell is never changed: the target receives a new handle.
void op_setcell(state::Machine& s);

// Element read of a matrix variable, for the call instruction once it has
// popped the identifier and resolved it to `m` (not null). Stack: two
// arguments and their count -> element (i, j) as a number; with the
// identifier `all` (any case) as the second argument, row i, and as the first
// argument, column j, each as a new row vector.
void matrix_element_read(state::Machine& s, MatrixRef m);

// Character read of a string variable, for the call instruction once it has
// popped the identifier and resolved it to `text` (not null). Stack: one
// argument and its count -> character k as a new one-character string.
void string_char_read(state::Machine& s, Text text);

}  // namespace ostrac::vm
