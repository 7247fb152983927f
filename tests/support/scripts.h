// Table-driven console scripts: each row runs its commands in a fresh
// session and compares the pane lines printed after the echo of the last
// command.
#pragma once

#include <string>
#include <vector>

namespace ostrac::test {

struct Script {
    int line;  // __LINE__ of the row, for the failure trace
    std::vector<std::string> commands;
    std::vector<std::string> output;
};

// Also checks that every script leaves the operand stack empty. The notice
// that the symbol table grew is left out of the compared lines.
void run_scripts(const std::vector<Script>& scripts);

}  // namespace ostrac::test
