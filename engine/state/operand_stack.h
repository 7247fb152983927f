// The operand stack: a fixed array of 100 cells. Pushing and popping never
// allocate; checks are reported by the caller (see state/stack_ops.h).
#pragma once

#include <array>
#include <type_traits>
#include <utility>

#include "state/value.h"

namespace ostrac::state {

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

    // Scalar cells own nothing: they are written in place, without the
    // generic move of a whole cell.
    template <class T>
    [[nodiscard]] bool push_scalar(T v) {
        cells_[static_cast<std::size_t>(depth_)].assign_scalar(v);  // free cells hold no handles
        ++depth_;
        return depth_ < capacity;
    }

    // The cell `n` places below the top (0: the top), or null when the stack
    // holds fewer cells.
    const Value* peek(int n = 0) const {
        return n < depth_ ? &cells_[static_cast<std::size_t>(depth_ - 1 - n)] : nullptr;
    }
    Value* peek(int n = 0) {
        return n < depth_ ? &cells_[static_cast<std::size_t>(depth_ - 1 - n)] : nullptr;
    }

    // Drops the top cell, letting go of a string or matrix it holds.
    void discard_top() {
        --depth_;
        const Value& cell = cells_[static_cast<std::size_t>(depth_)];
        if (cell.holds<Text>() || cell.holds<MatrixRef>()) release(depth_);
    }

    // Drops the top n cells, which the caller has checked hold scalars: a
    // scalar left above the top keeps nothing alive.
    void drop_scalars(int n) { depth_ -= n; }

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

    // Puts two scalar cells under the top n cells (a call's return frame
    // under its arguments); false, with nothing changed, when they would
    // reach the capacity.
    template <class A, class B>
    [[nodiscard]] bool insert_below(int n, A a, B b) {
        if (depth_ + 2 >= capacity) return false;
        open_below(cells_.data(), depth_, n, a, b);
        depth_ += 2;
        return true;
    }

    // The move insert_below makes on `depth` cells at `cells`, for the
    // dispatch loop as well; the caller checks the room and raises the depth
    // by two.
    template <class A, class B>
    static void open_below(Value* cells, int depth, int n, A a, B b) {
        // Each destination is a free cell or one already moved from, so it
        // holds no handle.
        for (int i = depth - 1; i >= depth - n; --i) cells[i + 2].take(cells[i]);
        cells[depth - n].assign_scalar(a);
        cells[depth - n + 1].assign_scalar(b);
    }

    // Reverses the order of the top n cells.
    void reverse(int n);

    // For the dispatch loop, which keeps the depth in a register while it
    // pushes and pops scalars in place (vm/cursor.h) and hands it back here.
    Value* cells() { return cells_.data(); }
    void set_depth(int depth) { depth_ = depth; }

private:
    // A popped cell must not keep a string or matrix alive: every cell at or
    // above the depth holds no handle, which lets scalar pushes skip the
    // check.
    void release(int position) { cells_[static_cast<std::size_t>(position)].set_scalar(0.0); }

    std::array<Value, capacity> cells_{};
    int depth_ = 0;
};

}  // namespace ostrac::state
