// SPDX-License-Identifier: GPL-3.0-or-later
#include "TruncateToInt.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>

using Tessarine::truncateToInt;

TEST (TruncateToInt, TruncatesTowardZeroLikeACast)
{
    EXPECT_EQ (truncateToInt (0.0), 0);
    EXPECT_EQ (truncateToInt (2.999), 2);
    EXPECT_EQ (truncateToInt (-2.999), -2);
    EXPECT_EQ (truncateToInt (-0.5), 0);
    EXPECT_EQ (truncateToInt (8.0), 8);
}

TEST (TruncateToInt, CorruptValuesGiveDefinedResults)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();

    EXPECT_EQ (truncateToInt (nan), 0);
    EXPECT_EQ (truncateToInt (-nan), 0);
    EXPECT_EQ (truncateToInt (inf), INT_MAX);
    EXPECT_EQ (truncateToInt (-inf), INT_MIN);
    EXPECT_EQ (truncateToInt (3.0e38), INT_MAX);   // a float word's largest values
    EXPECT_EQ (truncateToInt (-3.0e38), INT_MIN);
}

TEST (TruncateToInt, EdgesOfTheIntRange)
{
    EXPECT_EQ (truncateToInt (2147483647.0), INT_MAX);
    EXPECT_EQ (truncateToInt (2147483647.9), INT_MAX);
    EXPECT_EQ (truncateToInt (2147483648.0), INT_MAX);
    EXPECT_EQ (truncateToInt (2147483646.5), 2147483646);
    EXPECT_EQ (truncateToInt (-2147483648.0), INT_MIN);
    EXPECT_EQ (truncateToInt (-2147483648.9), INT_MIN);
    EXPECT_EQ (truncateToInt (-2147483647.5), -2147483647);
}
