#include <gtest/gtest.h>

#include "runtime/array.h"
#include "runtime/object.h"

namespace {

struct Thing : Object {};

TEST(ArrayTest, NewElementsStartEmpty) {
    const Array<int> ints(5);
    const Array<float> floats(5);
    const Array<bool> bools(5);
    const Array<String> strings(5);
    const Array<Thing*> things(5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(ints[i], 0);
        EXPECT_EQ(floats[i], 0.0f);
        EXPECT_FALSE(bools[i]);
        EXPECT_EQ(strings[i].Length(), 0);
        EXPECT_EQ(things[i], nullptr);
    }
    EXPECT_EQ(ints.Length(), 5);
    EXPECT_EQ(Array<int>(-3).Length(), 0);
}

TEST(ArrayTest, AnIndexOutsideTheArrayStopsACheckedBuild) {
    if (!kArrayIndexesChecked) GTEST_SKIP() << "release builds do not check array indexes";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const Array<int> three(3);
    const Array<String> none;
    EXPECT_DEATH(three[-1], "Array index -1 outside an array of length 3");
    EXPECT_DEATH(three[3], "Array index 3 outside an array of length 3");
    EXPECT_DEATH(none[0], "Array index 0 outside an array of length 0");
}

}  // namespace
