#include <gtest/gtest.h>

#include "runtime/array.h"
#include "runtime/kzstring.h"

namespace {

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
