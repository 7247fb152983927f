// The printed form of values, as PRINT and the display of results show them.
//
// A Real prints with the display's real digits (ten by default) and no blank; a Complex as
// format_number writes it (always ending with a blank); a String as it is;
// a Matrix as one line per row, "[ " then its elements through format_number
// separated by ", ", then "] " and a line break. Every row, the last one
// included, ends its own line, so a value printed after a matrix starts a
// new line, and the line break that ends a print statement then stands alone
// (an empty pane line under the last row). Lines are never cut.
#pragma once

#include <string>

#include "state/display_settings.h"
#include "state/value.h"

namespace ostrac::state {
class Machine;
}

namespace ostrac::vm {

using state::Operand;

// Appends the printed form of v; other value types append nothing.
void append_printed(std::string& out, const Operand& v, int coord_mode, int angle_unit,
                    const state::DisplaySettings& display = {});

// Prints v on the console in the current coordinate mode, angle unit and
// display settings.
// Each matrix row goes out as its own piece ending with its line break, so
// that every row becomes one pane line.
void print_value(state::Machine& s, const Operand& v);

}  // namespace ostrac::vm
