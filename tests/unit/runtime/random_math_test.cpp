#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "runtime/kzmath.h"
#include "runtime/random.h"

namespace {

TEST(RandomTest, FirstDrawFromSeed1234MatchesTheReferenceVector) {
    kz_random_Seed = 1234;
    EXPECT_EQ(kz_random_Rnd(), 0.71430766582489013671875f);
    EXPECT_EQ(kz_random_Seed, -1227039223);
}

TEST(RandomTest, ResultsAreMultiplesOfTwoToTheMinus24InTheUnitInterval) {
    kz_random_Seed = -1;
    for (int i = 0; i < 10000; ++i) {
        const float r = kz_random_Rnd();
        ASSERT_TRUE(r >= 0.0f && r < 1.0f) << r;
        ASSERT_EQ(r * 16777216.0f, std::floor(r * 16777216.0f)) << r;
    }
    // The state before 0xFFFFFFFF (4276115653 = 1664525^-1 mod 2^32) gives the largest result.
    kz_random_Seed = static_cast<int>((0xFFFFFFFFu - 1013904223u) * 4276115653u);
    EXPECT_EQ(kz_random_Rnd(), 1.0f - 5.9604645e-08f);
}

TEST(RandomTest, EveryFormTakesExactlyOneStep) {
    kz_random_Seed = 1234;
    const float base = kz_random_Rnd();
    const int after_one = kz_random_Seed;
    kz_random_Seed = 1234;
    EXPECT_EQ(kz_random_Rnd2(5.0f, 5.0f), 5.0f);
    EXPECT_EQ(kz_random_Seed, after_one);
    kz_random_Seed = 1234;
    EXPECT_EQ(kz_random_Rnd3(10.0f), base * 10.0f);
    EXPECT_EQ(kz_random_Seed, after_one);
    kz_random_Seed = 1234;
    EXPECT_EQ(kz_random_Rnd2(-2.0f, 6.0f), base * 8.0f - 2.0f);
}

TEST(MathTest, CornerCasesOfAbs) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(kz_math_Abs2(-2.5f), 2.5f);
    EXPECT_TRUE(std::signbit(kz_math_Abs2(-0.0f))) << "-0.0 passes through";
    EXPECT_TRUE(std::isnan(kz_math_Abs2(nan)));
}

TEST(MathTest, TruncToIntTruncatesTowardZeroAndSaturatesWhereACastWouldBeUndefined) {
    const float inf = std::numeric_limits<float>::infinity();
    const struct { float value; int expected; } cases[] = {
        {2.9f, 2}, {-2.9f, -2}, {std::numeric_limits<float>::quiet_NaN(), 0}, {inf, INT_MAX}, {-inf, INT_MIN},
        {2147483648.0f, INT_MAX}, {-2147483648.0f, INT_MIN}, {2147483520.0f, 2147483520},
    };
    for (const auto& c : cases) EXPECT_EQ(TruncToInt(c.value), c.expected) << c.value;
}

}  // namespace
