#include "vm/operand_stack.h"

#include <algorithm>

namespace ostrac::vm {

void OperandStack::reverse(int n) {
    if (n <= 1 || n > depth_) return;
    auto first = cells_.begin() + (depth_ - n);
    std::reverse(first, cells_.begin() + depth_);
}

void OperandStack::sink(int n, int times) {
    if (n <= 1 || n > depth_) return;
    auto first = cells_.begin() + (depth_ - n);
    auto last = cells_.begin() + depth_;
    for (int t = 0; t < times; ++t) std::rotate(first, last - 1, last);
}

}  // namespace ostrac::vm
