// The stack of open constructs (the pstack): code positions that a single
// pass cannot patch yet, and the argument counts of enclosing lists. Each pop
// names the kind it expects; the grammar guarantees the kinds match, so a
// mismatch or an empty stack is an internal error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ostrac::state {
class Machine;
}

namespace ostrac::frontend {

enum class Construct : std::uint8_t {
    While = 9,      // loop start, then the exit placeholder
    Repeat = 12,    // loop start
    For = 14,       // the skip placeholder
    If = 21,        // the pending forward jump
    Function = 25,  // the end-operand placeholder
    Sub = 30,       // the end-operand placeholder
    Count = 255,    // the saved argument count of an enclosing list
};

class ConstructStack {
public:
    static constexpr std::size_t max_entries = 100;  // MAXPSTACK

    explicit ConstructStack(state::Machine& s) : session_(s) {}

    void push(Construct kind, std::int32_t value);
    std::int32_t pop(Construct expected);
    std::size_t size() const { return entries_.size(); }

private:
    struct Entry {
        Construct kind;
        std::int32_t value;
    };

    state::Machine& session_;
    std::vector<Entry> entries_;
};

}  // namespace ostrac::frontend
