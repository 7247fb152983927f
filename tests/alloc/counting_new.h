// The allocation tests replace the global operator new: every allocation of
// the process is counted, and one of them can be made to fail.
#pragma once

namespace ostrac::test {

// Allocations made so far.
long allocations();

// The n-th allocation from now throws std::bad_alloc; 0 asks for none.
void fail_allocation(long n);
// Whether the failure asked for has happened.
bool allocation_failed();

}  // namespace ostrac::test
