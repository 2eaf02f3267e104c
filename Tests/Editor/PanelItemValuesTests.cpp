// SPDX-License-Identifier: GPL-3.0-or-later
#include "PanelItemValues.h"

#include <gtest/gtest.h>

#include <limits>

using Quorbel::PanelItemValues;
using Quorbel::QuorbelParamMap;
using Info = QuorbelParamMap::ParameterInfo;

namespace
{
Info infoFor (int id)
{
    static const QuorbelParamMap map;
    const auto* info = map.find (id);
    return info != nullptr ? *info : Info();
}

const double notANumber = std::numeric_limits<double>::quiet_NaN();
} // namespace

TEST (PanelItemValues, ValueTextsUseDecimalsDisplayScaleAndUnits)
{
    // Percent: no decimals, display scale 100.
    EXPECT_EQ (PanelItemValues::formatValue (infoFor (paramBoostDrive), 0.5), "50 %");
    // Ratio: one decimal, the unit carries its own colon.
    EXPECT_EQ (PanelItemValues::formatValue (infoFor (paramGateRatio), 4.0), "4.0 : 1");
    // Times are held in seconds and shown in milliseconds.
    EXPECT_EQ (PanelItemValues::formatValue (infoFor (paramGateRelease), 0.25), "250 ms");
    // Negative levels keep their sign; no unit means no trailing blank.
    EXPECT_EQ (PanelItemValues::formatValue (infoFor (paramBoostLevel), -6.3), "-6.3 dB");
    EXPECT_EQ (PanelItemValues::formatValue (infoFor (paramEqBand1Q), infoFor (paramEqBand1Q).defaultValue.value), "0.71");
    EXPECT_EQ (PanelItemValues::formatValue (infoFor (paramEqBand1Frequency), 632.4), "632 Hz");
}

TEST (PanelItemValues, ValueTextsSurviveValuesNoFixedBufferWouldHold)
{
    auto info = infoFor (paramBoostLevel);
    info.decimals = 9;

    const auto huge = PanelItemValues::formatValue (info, 1e300);
    EXPECT_GT (huge.length(), 300);
    EXPECT_TRUE (huge.endsWith (".000000000 dB"));

    // A decimals count outside 0..9 is held to it rather than trusted.
    info.decimals = 40;
    EXPECT_EQ (PanelItemValues::formatValue (info, 1.5), "1.500000000 dB");
    info.decimals = -3;
    EXPECT_EQ (PanelItemValues::formatValue (info, 1.5), "2 dB");
}

TEST (PanelItemValues, TypedTextIsDividedByTheDisplayScaleAndClamped)
{
    const auto attack = infoFor (paramGateAttack);   // 0..0.03 s, shown in ms
    const auto release = infoFor (paramGateRelease); // 0.01..1 s, shown in ms
    const auto level = infoFor (paramBoostLevel);    // -24..12 dB

    EXPECT_DOUBLE_EQ (PanelItemValues::parseTypedValue (attack, "25"), 0.025);
    EXPECT_DOUBLE_EQ (PanelItemValues::parseTypedValue (attack, "  12.5 ms"), 0.0125);
    EXPECT_DOUBLE_EQ (PanelItemValues::parseTypedValue (level, "-6.5dB"), -6.5);

    // Beyond the range: clamped to the nearer end.
    EXPECT_DOUBLE_EQ (PanelItemValues::parseTypedValue (attack, "900"), attack.max.value);
    EXPECT_DOUBLE_EQ (PanelItemValues::parseTypedValue (level, "-1e9"), -24.0);
    EXPECT_DOUBLE_EQ (PanelItemValues::parseTypedValue (level, "inf"), 12.0);

    // Text that does not begin with a number counts as 0, clamped: the
    // minimum when the whole range lies above zero.
    EXPECT_DOUBLE_EQ (PanelItemValues::parseTypedValue (level, "loud"), 0.0);
    EXPECT_DOUBLE_EQ (PanelItemValues::parseTypedValue (release, "fast"), release.min.value);
    EXPECT_DOUBLE_EQ (PanelItemValues::parseTypedValue (release, ""), release.min.value);

    // "nan" is read as a number by the framework but must not be sent as one.
    EXPECT_DOUBLE_EQ (PanelItemValues::parseTypedValue (level, "nan"), 0.0);
    EXPECT_DOUBLE_EQ (PanelItemValues::parseTypedValue (release, "-NaN"), release.min.value);

    auto unscaled = level;
    unscaled.displayScale = 0.0;
    EXPECT_DOUBLE_EQ (PanelItemValues::parseTypedValue (unscaled, "0"), 0.0);
    EXPECT_DOUBLE_EQ (PanelItemValues::parseTypedValue (unscaled, "5"), 5.0);
}

TEST (PanelItemValues, FilterTypesAreNamedFromMinusOne)
{
    const auto filter = infoFor (paramEqBand2FilterType); // -1 "NONE" .. 11 "PEAKING"

    EXPECT_EQ (PanelItemValues::nameForValue (filter, -1.0), "NONE");
    EXPECT_EQ (PanelItemValues::nameForValue (filter, 0.0), "GAIN ONLY");
    EXPECT_EQ (PanelItemValues::nameForValue (filter, 11.0), "PEAKING");
    EXPECT_EQ (PanelItemValues::nameForValue (filter, 10.9), "NOTCH");
    // Truncation is toward zero, so -0.5 names the value 0.
    EXPECT_EQ (PanelItemValues::nameForValue (filter, -0.5), "GAIN ONLY");

    // A value without a name shows an empty readout.
    EXPECT_EQ (PanelItemValues::nameForValue (filter, 12.0), "");
    EXPECT_EQ (PanelItemValues::nameForValue (filter, -2.0), "");
    EXPECT_EQ (PanelItemValues::nameForValue (filter, 1e300), "");
    EXPECT_EQ (PanelItemValues::nameForValue (infoFor (paramBoostDrive), 0.0), "");

    EXPECT_EQ (PanelItemValues::nameForValue (infoFor (paramOutputChoice), 1.0), "1/4\"");
}

TEST (PanelItemValues, ArrowsStopAtBothEndsOfTheRange)
{
    const auto filter = infoFor (paramEqBand3FilterType);

    EXPECT_EQ (PanelItemValues::stepValue (filter, 5.0, +1), 6);
    EXPECT_EQ (PanelItemValues::stepValue (filter, 5.0, -1), 4);
    EXPECT_EQ (PanelItemValues::stepValue (filter, 0.0, -1), -1);
    EXPECT_EQ (PanelItemValues::stepValue (filter, 11.0, +1), 11);
    EXPECT_EQ (PanelItemValues::stepValue (filter, -1.0, -1), -1);
    EXPECT_EQ (PanelItemValues::stepValue (filter, 2.9, +1), 3);

    // Values the pedal should never report still step into the range.
    EXPECT_EQ (PanelItemValues::stepValue (filter, 40.0, -1), 11);
    EXPECT_EQ (PanelItemValues::stepValue (filter, -40.0, +1), -1);
    EXPECT_EQ (PanelItemValues::stepValue (filter, 1e12, +1), 11);
    EXPECT_EQ (PanelItemValues::stepValue (filter, notANumber, +1), 1);
}

TEST (PanelItemValues, ChoicesLightOnlyForTheirOwnValue)
{
    EXPECT_EQ (PanelItemValues::choiceValue (1.0), 1);
    EXPECT_EQ (PanelItemValues::choiceValue (0.0), 0);

    EXPECT_TRUE (PanelItemValues::isChoiceOn (1.0, 1.0));
    EXPECT_FALSE (PanelItemValues::isChoiceOn (0.0, 1.0));
    EXPECT_TRUE (PanelItemValues::isChoiceOn (0.0, 0.7)); // truncated to 0
    EXPECT_FALSE (PanelItemValues::isChoiceOn (1.0, 0.7));

    // A value equal to neither choice leaves both off.
    EXPECT_FALSE (PanelItemValues::isChoiceOn (0.0, 2.0));
    EXPECT_FALSE (PanelItemValues::isChoiceOn (1.0, 2.0));
}
