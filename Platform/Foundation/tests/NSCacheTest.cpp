#include "Foundation/NSCache.h"

#include <gtest/gtest.h>

namespace {

TEST(NSCacheTest, EvictsLeastRecentlyUsedOverCountAndCostLimits)
{
    auto cache = NSCache::make();
    cache->setCountLimit(2);
    cache->setObject(1, "a");
    cache->setObject(2, "b");
    EXPECT_EQ(cache->objectForKey("a"), Value(1));  // a is now more recent than b
    cache->setObject(3, "c");
    EXPECT_TRUE(cache->objectForKey("b").isNil());
    EXPECT_EQ(cache->objectForKey("a"), Value(1));
    EXPECT_EQ(cache->objectForKey("c"), Value(3));

    auto costly = NSCache::make();
    costly->setTotalCostLimit(10);
    costly->setObject("x", "x", 6);
    costly->setObject("y", "y", 4);
    costly->setObject("x", "x", 6);  // replacing refreshes, keeps one entry
    EXPECT_EQ(costly->objectForKey("y"), Value("y"));
    costly->setObject("z", "z", 5);  // over 10: the least recent (x) goes
    EXPECT_TRUE(costly->objectForKey("x").isNil());
    EXPECT_EQ(costly->objectForKey("y"), Value("y"));
    costly->setObject("huge", "huge", 50);  // alone over the limit: kept, everything else goes
    EXPECT_EQ(costly->objectForKey("huge"), Value("huge"));
    EXPECT_TRUE(costly->objectForKey("y").isNil());
}

TEST(NSCacheTest, MemoryPressureEmptiesEveryLiveCache)
{
    auto first = NSCache::make();
    auto second = NSCache::make();
    first->setObject("v", "k");
    second->setObject("w", "k");
    NSCache::simulateMemoryPressure();
    EXPECT_TRUE(first->objectForKey("k").isNil());
    EXPECT_TRUE(second->objectForKey("k").isNil());
    first->setObject("again", "k");
    EXPECT_EQ(first->objectForKey("k"), Value("again"));
}

}  // namespace
