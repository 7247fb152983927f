// The file and listing built-ins: matrices as text files (savedata,
// loaddata), the symbol listing (flist) and clearing the console (fcls).
//
// Relative file names are taken from the home folder; absolute names are used
// as given. A file that cannot be opened, or that is not a regular file, is
// reported as "Imposible encontrar fichero <name>" on a line of its own. Both
// look at the Break between blocks of their work.
#pragma once

namespace ostrac::state {
class Machine;
}

namespace ostrac::vm {

// M name cnt(2) -> SUB0: writes the real parts of M, one line per row, each
// number as "%f" and the numbers of a row separated by a tab. The file is
// replaced safely (files/file_replacement.h); a target that cannot be
// replaced, read-only or not a regular file, is refused like one that cannot
// be opened.
void op_savedata(state::Machine& s);

// name cnt(1) -> matrix: reads a matrix text file. Lines are rows and every
// white-space-delimited token is a number (text that is not a number reads as
// 0); short lines are padded with zeros; empty lines after the first number
// add rows of zeros at the bottom; white space just before a line break joins
// the next line to the row; "\r\n" is one line break. A file without
// numbers, or with more than 32767 rows or columns or 2^24 elements, is
// refused.
void op_loaddata(state::Machine& s);

// x cnt(1) -> SUB0: prints "[name]" for every slot in use, in index order.
void op_flist(state::Machine& s);

// x cnt(1) -> x: empties the console's output pane; the argument stays as the
// result.
void op_fcls(state::Machine& s);

}  // namespace ostrac::vm
