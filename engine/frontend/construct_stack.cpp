#include "frontend/construct_stack.h"

#include "state/machine.h"

namespace ostrac::frontend {

void ConstructStack::push(Construct kind, std::int32_t value) {
    if (entries_.size() >= max_entries) session_.fatal_error("INTERNAL ERROR, MAXPSTACK REACHED");
    entries_.push_back({kind, value});
}

std::int32_t ConstructStack::pop(Construct expected) {
    if (entries_.empty()) session_.fatal_error("pSP <0");
    const Entry top = entries_.back();
    entries_.pop_back();
    if (top.kind != expected) session_.fatal_error("pSTACK ERROR");
    return top.value;
}

}  // namespace ostrac::frontend
