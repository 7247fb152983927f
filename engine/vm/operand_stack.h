// The operand stack: a fixed array of 100 cells. Pushing and popping never
// allocate; checks are reported by the caller (see vm/stack_ops.h).
#pragma once

#include <array>
#include <utility>

#include "vm/value.h"

namespace ostrac::vm {

class OperandStack {
public:
    static constexpr int capacity = 100;

    int depth() const { return depth_; }
    bool empty() const { return depth_ == 0; }

    // Fills the cell at depth and raises depth; false when depth has reached
    // the capacity, so at most capacity-1 cells are ever held.
    [[nodiscard]] bool push(Value v) {
        cells_[static_cast<std::size_t>(depth_)] = std::move(v);
        ++depth_;
        return depth_ < capacity;
    }

    // Lowers depth; false (and depth unchanged) when the stack is empty.
    [[nodiscard]] bool pop(Value& out) {
        if (depth_ == 0) return false;
        --depth_;
        out = std::move(cells_[static_cast<std::size_t>(depth_)]);
        release(depth_);
        return true;
    }

    // Cell at a position counted from the bottom (0) up to depth-1.
    Value& at(int position) { return cells_[static_cast<std::size_t>(position)]; }
    const Value& at(int position) const { return cells_[static_cast<std::size_t>(position)]; }
    Value& top() { return at(depth_ - 1); }

    // Drops every cell above `depth`.
    void cut(int depth) {
        while (depth_ > depth) release(--depth_);
    }
    void clear() { cut(0); }

    // Reverses the order of the top n cells.
    void reverse(int n);
    // `times` times: the top cell moves down to position depth-n and the n-1
    // cells above that position move up by one.
    void sink(int n, int times);

private:
    // A popped cell must not keep a string or matrix alive.
    void release(int position) { cells_[static_cast<std::size_t>(position)] = 0.0; }

    std::array<Value, capacity> cells_{};
    int depth_ = 0;
};

}  // namespace ostrac::vm
