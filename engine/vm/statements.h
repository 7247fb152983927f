// The expression statement and PRINT.
#pragma once

namespace ostrac::state {
class Machine;
}

namespace ostrac::vm {

// value -> : stores the value in ANS and prints it; a procedure named alone
// is called, and a no-value result (SUB0) is dropped silently.
void op_show(state::Machine& s);

// v1..vn cnt -> : prints one value per execution, then ends the line.
void op_print(state::Machine& s);

}  // namespace ostrac::vm
