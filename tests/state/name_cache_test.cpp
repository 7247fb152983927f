#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "state/name_cache.h"

namespace ostrac {
namespace {

using state::NameCache;

// A loop and the function it calls run their identifier operands in turn;
// wherever their blocks and offsets lie, both must stay remembered, or every
// pass of the loop would look both names up again.
TEST(NameCacheTest, OperandsOfTwoBlocksStayTogether) {
    auto cache = std::make_unique<NameCache>();
    const std::vector<std::uint8_t> code(8192);
    std::mt19937 rng(20261208);
    std::uniform_int_distribution<int> block(0, 400);
    std::uniform_int_distribution<int> offset(0, 4000);
    const std::uint64_t epoch = 1;
    for (int round = 0; round < 20000; ++round) {
        const int block_a = block(rng);
        const int block_b = block(rng);
        const int offset_a = offset(rng);
        const int offset_b = offset(rng) + 4096;  // a site of its own
        const NameCache::Entry a{code.data() + offset_a, epoch, nullptr, offset_a + 3};
        const NameCache::Entry b{code.data() + offset_b, epoch, nullptr, offset_b + 3};
        cache->store(block_a, offset_a, a);
        cache->store(block_b, offset_b, b);
        const NameCache::Entry* found_a = cache->find(a.site, block_a, offset_a, epoch);
        const NameCache::Entry* found_b = cache->find(b.site, block_b, offset_b, epoch);
        ASSERT_NE(found_a, nullptr) << "block " << block_a << " offset " << offset_a << " after block "
                                    << block_b << " offset " << offset_b;
        ASSERT_NE(found_b, nullptr);
        EXPECT_EQ(found_a->next_pc, offset_a + 3);
        EXPECT_EQ(found_b->next_pc, offset_b + 3);
        // A new epoch forgets both.
        EXPECT_EQ(cache->find(a.site, block_a, offset_a, epoch + 1), nullptr);
    }
}

}  // namespace
}  // namespace ostrac
