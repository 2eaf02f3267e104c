// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuorbelParamMap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

using namespace Quorbel;
using Info = QuorbelParamMap::ParameterInfo;

namespace
{
uint32_t wordOf (float f)
{
    uint32_t w;
    std::memcpy (&w, &f, 4);
    return w;
}

float floatOf (uint32_t w)
{
    float f;
    std::memcpy (&f, &w, 4);
    return f;
}

const QuorbelParamMap& map()
{
    static const QuorbelParamMap instance;
    return instance;
}
} // namespace

TEST (QuorbelParamMap, HoldsEveryRowInAscendingIdOrder)
{
    const auto all = map().getAll();
    ASSERT_EQ (all.size(), 112u);
    EXPECT_EQ (all.front()->id, 0);
    EXPECT_EQ (all.back()->id, 288);

    for (size_t i = 1; i < all.size(); ++i)
        EXPECT_LT (all[i - 1]->id, all[i]->id);

    int scopes[3] = {}, kinds[2] = {};

    for (const Info* info : all)
    {
        ASSERT_LE (info->scope, 2u);
        ASSERT_LE (info->kind, 1u);
        ++scopes[info->scope];
        ++kinds[info->kind];
        EXPECT_EQ (info->key, (uint32_t) info->id);
        EXPECT_EQ (info->deviceParam, (uint16_t) info->id);
        EXPECT_EQ (info->min.kind, info->kind);
        EXPECT_EQ (info->max.kind, info->kind);
        EXPECT_EQ (info->defaultValue.kind, info->kind);
        EXPECT_LE (info->min.value, info->defaultValue.value) << info->id;
        EXPECT_LE (info->defaultValue.value, info->max.value) << info->id;

        // Only the amp and compressor switches are integers with a linear taper.
        if (info->kind == kindInteger && info->id != 112 && info->id != 134)
        {
            EXPECT_EQ (info->taper, (uint32_t) taperStepped) << info->id;
        }
    }

    EXPECT_EQ (scopes[scopePreset], 70);
    EXPECT_EQ (scopes[scopeGlobals], 33);
    EXPECT_EQ (scopes[scopeLive], 9);
    EXPECT_EQ (kinds[kindFloat], 70);
    EXPECT_EQ (kinds[kindInteger], 42);
    EXPECT_EQ (map().find (112)->taper, (uint32_t) taperLinear);
    EXPECT_EQ (map().find (134)->taper, (uint32_t) taperLinear);
}

TEST (QuorbelParamMap, FindsOnlyExactIds)
{
    EXPECT_EQ (map().find (6), nullptr);
    EXPECT_EQ (map().find (-1), nullptr);
    EXPECT_EQ (map().find (300), nullptr);

    const Info* footswitchEcho = map().find (paramFootswitchEcho);
    ASSERT_NE (footswitchEcho, nullptr);
    EXPECT_EQ (footswitchEcho->scope, (uint32_t) scopeGlobals);
    EXPECT_EQ (footswitchEcho->min.value, 0.0);
    EXPECT_EQ (footswitchEcho->max.value, 2.0);
    EXPECT_EQ (footswitchEcho->defaultValue.value, 1.0);

    // The echo settings stored once in the pedal, not per preset.
    for (int id : { 198, 199, 200 })
        EXPECT_EQ (map().find (id)->scope, (uint32_t) scopeGlobals) << id;
    EXPECT_EQ (map().find (197)->scope, (uint32_t) scopePreset);
}

TEST (QuorbelParamMap, FilterTypeNamesStartAtMinusOne)
{
    for (int id : { 18, 34, 50, 161 })
    {
        const Info* info = map().find (id);
        ASSERT_NE (info, nullptr);
        ASSERT_EQ (info->valueNames.size(), 13u) << id;
        EXPECT_EQ (info->valueNames.front().name, "NONE");
        EXPECT_EQ (info->valueNames.front().value.kind, 0u);
        EXPECT_EQ (info->valueNames.front().value.value, -1.0);
        EXPECT_EQ (info->valueNames.back().name, "PEAKING");
        EXPECT_EQ (info->valueNames.back().value.value, 11.0);
        EXPECT_EQ (info->min.value, -1.0);
        EXPECT_EQ (info->max.value, 11.0);
        EXPECT_EQ (info->defaultValue.value, 0.0);
        EXPECT_EQ (info->kind, (uint32_t) kindInteger);
    }
}

TEST (QuorbelParamMap, OtherValueNameLists)
{
    const Info* output = map().find (paramOutputChoice);
    ASSERT_EQ (output->valueNames.size(), 4u);
    EXPECT_EQ (output->valueNames[1].name, "1/4\"");
    EXPECT_EQ (output->valueNames[3].name, "BOTH");
    EXPECT_EQ (output->valueNames[3].value.value, 3.0);
    EXPECT_EQ (output->defaultValue.value, 3.0);

    EXPECT_EQ (map().find (paramBoostType)->valueNames.size(), 5u);
    EXPECT_EQ (map().find (paramCompressorType)->valueNames[1].name, "PEDAL");
    EXPECT_EQ (map().find (paramReverbType)->valueNames[1].name, "MED. HALL");
    EXPECT_EQ (map().find (paramEchoType)->valueNames[4].name, "SOFT DIGITAL");
    EXPECT_EQ (map().find (paramEchoTapMode)->valueNames[4].name, "DOTTED EIGHTHS");
    EXPECT_TRUE (map().find (paramBoostDrive)->valueNames.empty());
}

TEST (QuorbelParamMap, NarrowsToTheKindAndDerivesDecimals)
{
    const Info* q = map().find (paramEqBand1Q);
    EXPECT_EQ (q->defaultValue.kind, 1u);
    EXPECT_EQ (q->defaultValue.value, 0.707099974155426);
    EXPECT_NE (q->defaultValue.value, 0.7071);
    EXPECT_EQ (q->decimals, 2);

    EXPECT_EQ (map().find (paramGateAttack)->defaultValue.value, 0.0010000000474974513);
    EXPECT_EQ (map().find (paramGateAttack)->decimals, 0);
    EXPECT_EQ (map().find (paramGateAttack)->displayScale, 1000.0);
    EXPECT_STREQ (map().find (paramGateAttack)->units, "ms");

    EXPECT_EQ (map().find (paramBoostLevel)->decimals, 1);
    EXPECT_STREQ (map().find (paramBoostLevel)->units, "dB");
    EXPECT_EQ (map().find (paramBoostEnable)->units, nullptr);
    EXPECT_EQ (map().find (paramBoostDrive)->displayScale, 100.0);
    EXPECT_STREQ (map().find (paramGateRatio)->units, ": 1");
}

TEST (ValidatePresetValues, EmptyListGetsEveryPresetDefault)
{
    std::map<uint32_t, uint32_t> values;
    map().validatePresetValues (values);
    ASSERT_EQ (values.size(), 70u);

    for (const Info* info : map().getAll())
    {
        if (info->scope != scopePreset)
        {
            EXPECT_EQ (values.count (info->key), 0u) << info->id;
            continue;
        }

        ASSERT_EQ (values.count (info->key), 1u) << info->id;
        EXPECT_EQ (floatOf (values[info->key]), (float) info->defaultValue.value) << info->id;
    }
}

TEST (ValidatePresetValues, RoundsClampsAndDropsForeignKeys)
{
    std::map<uint32_t, uint32_t> values {
        { paramBoostType, wordOf (2.6f) },       // integer: rounded
        { paramBoostLevel, wordOf (20.0f) },     // above 12 dB
        { paramBoostPostLevel, wordOf (-30.f) }, // below -24 dB
        { paramEqBand1FilterType, wordOf (-1.4f) },
        { paramEqBand1Q, wordOf (3.25f) },       // in range, kept exactly
        { paramFootswitchEcho, wordOf (1.0f) },  // globals: removed
        { paramLiveKnob1, wordOf (0.5f) },       // live: removed
        { 6, wordOf (1.0f) },                    // unknown: removed
    };
    map().validatePresetValues (values);

    EXPECT_EQ (values.size(), 70u);
    EXPECT_EQ (floatOf (values[paramBoostType]), 3.0f);
    EXPECT_EQ (floatOf (values[paramBoostLevel]), 12.0f);
    EXPECT_EQ (floatOf (values[paramBoostPostLevel]), -24.0f);
    EXPECT_EQ (floatOf (values[paramEqBand1FilterType]), -1.0f);
    EXPECT_EQ (floatOf (values[paramEqBand1Q]), 3.25f);
    EXPECT_EQ (values.count (paramFootswitchEcho), 0u);
    EXPECT_EQ (values.count (paramLiveKnob1), 0u);
    EXPECT_EQ (values.count (6u), 0u);
}

// NaN compares false against both bounds, so clamping alone would send it on.
TEST (ValidatePresetValues, NotANumberBecomesTheDefaultAndInfinitiesClamp)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    std::map<uint32_t, uint32_t> values {
        { paramEqBand1Frequency, wordOf (nan) },
        { paramBoostType, wordOf (nan) },
        { paramBoostLevel, wordOf (inf) },
        { paramBoostPostLevel, wordOf (-inf) },
        { paramReverbType, wordOf (inf) },  // integer
        { paramEchoType, wordOf (-3.0e20f) } // integer, far out of range
    };
    map().validatePresetValues (values);

    EXPECT_EQ (floatOf (values[paramEqBand1Frequency]), 1000.0f);
    EXPECT_EQ (floatOf (values[paramBoostType]), 1.0f);
    EXPECT_EQ (floatOf (values[paramBoostLevel]), 12.0f);
    EXPECT_EQ (floatOf (values[paramBoostPostLevel]), -24.0f);
    EXPECT_EQ (floatOf (values[paramReverbType]), 6.0f);
    EXPECT_EQ (floatOf (values[paramEchoType]), 0.0f);
}
