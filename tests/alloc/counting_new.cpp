#include "alloc/counting_new.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> made{0};
std::atomic<long> failing_at{0};  // the count at which an allocation fails; 0: none
std::atomic<bool> failed{false};
}  // namespace

// GCC cannot see that the operator new below is the one in use and takes the
// free of its memory for a mismatch.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    const long count = made.fetch_add(1, std::memory_order_relaxed) + 1;
    if (count == failing_at.load(std::memory_order_relaxed)) {
        failed = true;
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace ostrac::test {

long allocations() { return made.load(); }

void fail_allocation(long n) {
    failed = false;
    failing_at = n == 0 ? 0 : made.load() + n;
}

bool allocation_failed() { return failed.load(); }

}  // namespace ostrac::test
