// INPUT: each listed variable is asked for in turn. The instruction runs
// twice per variable: once to show the prompt and wait (the session goes
// idle), once more when the answer has arrived as a command line.
#pragma once

namespace ostrac::state {
class Machine;
}

namespace ostrac::vm {

void op_input(state::Machine& s);  // id1..idn cnt ->

}  // namespace ostrac::vm
