#include "state/operand_stack.h"

#include <algorithm>

namespace ostrac::state {

void OperandStack::reverse(int n) {
    if (n <= 1 || n > depth_) return;
    auto first = cells_.begin() + (depth_ - n);
    std::reverse(first, cells_.begin() + depth_);
}

}  // namespace ostrac::state
