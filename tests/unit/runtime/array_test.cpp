#include <gtest/gtest.h>

#include "runtime/array.h"
#include "runtime/object.h"

namespace {

struct Thing : Object {};

TEST(ArrayTest, EmptyArraysShareOnePermanentRepPerElementType) {
    EXPECT_TRUE(Array<int>().IsSharedEmpty());
    EXPECT_TRUE(Array<int>(0).IsSharedEmpty());
    EXPECT_TRUE(Array<int>(-3).IsSharedEmpty());
    EXPECT_TRUE(Array<String>(nullptr, 0).IsSharedEmpty());
    EXPECT_EQ(Array<float>().rep()->flags, kGcPermanentColour);
    EXPECT_NE(static_cast<void*>(Array<int>().rep()), static_cast<void*>(Array<float>().rep()));
}

TEST(ArrayTest, NewElementsStartEmptyInOneCollectedBlock) {
    const Array<int> ints(5);
    const Array<float> floats(5);
    const Array<bool> bools(5);
    const Array<String> strings(5);
    const Array<Thing*> things(5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(ints[i], 0);
        EXPECT_EQ(floats[i], 0.0f);
        EXPECT_FALSE(bools[i]);
        EXPECT_TRUE(strings[i].SharesRepWith(String()));
        EXPECT_EQ(things[i], nullptr);
    }
    EXPECT_EQ(ints.Length(), 5);
    EXPECT_TRUE(gc_is_live_object(ints.rep()));
    EXPECT_GE(ints.rep()->gc_size(), static_cast<int>(sizeof(Array<int>::Rep) + 5 * sizeof(int)));
}

TEST(ArrayTest, CopyingFromElementsSharesEachElementsRep) {
    const String texts[] = {String("a"), String("b")};
    const Array<String> copy(texts, 2);
    EXPECT_TRUE(copy[0].SharesRepWith(texts[0]));
    EXPECT_TRUE(copy[1].SharesRepWith(texts[1]));
}

}  // namespace
