// SPDX-License-Identifier: GPL-3.0-or-later
#include "KnobTaper.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using Quorbel::KnobTaper;
using Quorbel::QuorbelParamMap;
using Info = QuorbelParamMap::ParameterInfo;

namespace
{
const QuorbelParamMap& paramMap()
{
    static const QuorbelParamMap map;
    return map;
}

Info infoFor (int id)
{
    const auto* info = paramMap().find (id);
    return info != nullptr ? *info : Info();
}

Info makeInfo (uint32_t taper, double min, double max)
{
    Info info;
    info.kind = Quorbel::kindFloat;
    info.taper = taper;
    info.min = { Quorbel::kindFloat, min };
    info.max = { Quorbel::kindFloat, max };
    return info;
}

const double notANumber = std::numeric_limits<double>::quiet_NaN();
const double infinity = std::numeric_limits<double>::infinity();
} // namespace

TEST (KnobTaper, LinearTaperSpreadsTheRangeEvenly)
{
    const auto level = infoFor (paramBoostLevel); // -24..12 dB

    EXPECT_DOUBLE_EQ (KnobTaper::toValue (level, 0.0), -24.0);
    EXPECT_DOUBLE_EQ (KnobTaper::toValue (level, 0.5), -6.0);
    EXPECT_DOUBLE_EQ (KnobTaper::toValue (level, 1.0), 12.0);
    EXPECT_DOUBLE_EQ (KnobTaper::toPosition (level, -6.0), 0.5);
    EXPECT_DOUBLE_EQ (KnobTaper::toPosition (level, 12.0), 1.0);
}

TEST (KnobTaper, LogarithmicTaperSpreadsOctavesEvenly)
{
    const auto frequency = infoFor (paramEqBand1Frequency); // 20..20000 Hz, logarithmic

    // Halfway is the geometric mean, not the arithmetic one.
    EXPECT_NEAR (KnobTaper::toValue (frequency, 0.5), std::sqrt (20.0 * 20000.0), 1e-9);
    EXPECT_NEAR (KnobTaper::toPosition (frequency, 200.0), 1.0 / 3.0, 1e-12);
    EXPECT_NEAR (KnobTaper::toPosition (frequency, 2000.0), 2.0 / 3.0, 1e-12);

    // The ends of the knob send the ends of the range, rounding never past them.
    EXPECT_NEAR (KnobTaper::toValue (frequency, 0.0), 20.0, 1e-9);
    EXPECT_NEAR (KnobTaper::toValue (frequency, 1.0), 20000.0, 1e-9);
    EXPECT_GE (KnobTaper::toValue (frequency, 0.0), 20.0);
    EXPECT_LE (KnobTaper::toValue (frequency, 1.0), 20000.0);
}

TEST (KnobTaper, ValuesOutsideTheRangePinTheKnobToAnEnd)
{
    const auto frequency = infoFor (paramEqBand1Frequency);
    const auto level = infoFor (paramBoostLevel);

    // A value at or below zero has no logarithm; the knob simply sits at 0.
    EXPECT_EQ (KnobTaper::toPosition (frequency, 0.0), 0.0);
    EXPECT_EQ (KnobTaper::toPosition (frequency, -5.0), 0.0);
    EXPECT_EQ (KnobTaper::toPosition (frequency, 1e9), 1.0);
    EXPECT_EQ (KnobTaper::toPosition (level, -100.0), 0.0);
    EXPECT_EQ (KnobTaper::toPosition (level, infinity), 1.0);
    EXPECT_EQ (KnobTaper::toPosition (level, notANumber), 0.0);
    EXPECT_EQ (KnobTaper::toPosition (frequency, notANumber), 0.0);

    EXPECT_EQ (KnobTaper::toValue (level, -0.5), -24.0);
    EXPECT_EQ (KnobTaper::toValue (level, 7.0), 12.0);
    EXPECT_EQ (KnobTaper::toValue (frequency, notANumber), 20.0);
}

TEST (KnobTaper, RangesWithoutAMeaningfulPositionStayFinite)
{
    // min equal to max: the knob has nowhere to go.
    const auto flat = makeInfo (Quorbel::taperLinear, 3.0, 3.0);
    EXPECT_EQ (KnobTaper::toPosition (flat, 3.0), 0.0);
    EXPECT_EQ (KnobTaper::toPosition (flat, 7.0), 0.0);
    EXPECT_EQ (KnobTaper::toValue (flat, 0.7), 3.0);

    const auto flatLog = makeInfo (Quorbel::taperLogarithmic, 0.0, 0.0);
    EXPECT_EQ (KnobTaper::toPosition (flatLog, 0.0), 0.0);
    EXPECT_EQ (KnobTaper::toValue (flatLog, 1.0), 0.0);

    // A failed parameter lookup leaves a description with an empty range.
    EXPECT_EQ (KnobTaper::toPosition (Info(), 0.5), 0.0);
    EXPECT_EQ (KnobTaper::toValue (Info(), 0.5), 0.0);

    // A logarithmic taper over a range touching zero falls back to linear.
    const auto fromZero = makeInfo (Quorbel::taperLogarithmic, 0.0, 10.0);
    EXPECT_DOUBLE_EQ (KnobTaper::toValue (fromZero, 0.25), 2.5);
    EXPECT_DOUBLE_EQ (KnobTaper::toPosition (fromZero, 5.0), 0.5);

    const auto belowZero = makeInfo (Quorbel::taperLogarithmic, -10.0, 10.0);
    EXPECT_DOUBLE_EQ (KnobTaper::toValue (belowZero, 0.5), 0.0);
    EXPECT_DOUBLE_EQ (KnobTaper::toPosition (belowZero, -5.0), 0.25);

    // Reversed and infinite ranges are treated like empty ones.
    const auto reversed = makeInfo (Quorbel::taperLinear, 10.0, 0.0);
    EXPECT_EQ (KnobTaper::toPosition (reversed, 5.0), 0.0);
    EXPECT_EQ (KnobTaper::toValue (reversed, 0.5), 10.0);

    const auto unbounded = makeInfo (Quorbel::taperLinear, -infinity, infinity);
    EXPECT_EQ (KnobTaper::toPosition (unbounded, 1.0), 0.0);
    EXPECT_EQ (KnobTaper::toValue (unbounded, 0.5), 0.0);
}

TEST (KnobTaper, EveryMappedParameterRoundTripsWithinItsRange)
{
    int checked = 0;

    for (const auto* info : paramMap().getAll())
    {
        if (info->kind != Quorbel::kindFloat)
            continue;

        ++checked;

        for (int step = 0; step <= 100; ++step)
        {
            const double position = step / 100.0;
            const double value = KnobTaper::toValue (*info, position);

            ASSERT_TRUE (std::isfinite (value)) << "id " << info->id;
            ASSERT_GE (value, info->min.value) << "id " << info->id;
            ASSERT_LE (value, info->max.value) << "id " << info->id;
            ASSERT_NEAR (KnobTaper::toPosition (*info, value), position, 1e-9) << "id " << info->id;
        }
    }

    EXPECT_GT (checked, 50);
}
