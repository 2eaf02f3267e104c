// SPDX-License-Identifier: GPL-3.0-or-later
#include "PresetParameterUpgrade.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace Tessarine;
using namespace Tessarine::TessarineData;

namespace
{
uint32_t bitsOf (float f)
{
    uint32_t bits;
    std::memcpy (&bits, &f, 4);
    return bits;
}

float floatAt (const Preset& p, uint32_t key)
{
    const uint32_t bits = p.params.at (key);
    float f;
    std::memcpy (&f, &bits, 4);
    return f;
}

Preset presetWith (std::initializer_list<std::pair<uint32_t, float>> values)
{
    Preset p;
    for (const auto& [key, value] : values)
        p.params[key] = bitsOf (value);
    return p;
}

Preset upgraded (Preset p)
{
    EXPECT_TRUE (upgradePresetParameters (p));
    return p;
}
} // namespace

TEST (PresetUpgrade, EmptyMapGainsExactlyTheNewLayoutKeys)
{
    const Preset p = upgraded (Preset());

    ASSERT_EQ (p.params.size(), 61u);
    EXPECT_EQ (p.params.count (23), 1u);
    EXPECT_EQ (p.params.count (238), 1u);
    for (uint32_t key = 161; key <= 219; ++key)
        EXPECT_EQ (p.params.count (key), 1u) << key;

    EXPECT_EQ (floatAt (p, 23), 16.0f);   // type 0 selects the fourth section
    EXPECT_EQ (floatAt (p, 211), 0.0f);   // ... switched off
    EXPECT_EQ (floatAt (p, 238), 393728.0f);
    EXPECT_FLOAT_EQ (floatAt (p, 168), 30.0f);
    EXPECT_NEAR (floatAt (p, 209), 144.8f, 0.05f);
    EXPECT_EQ (floatAt (p, 167), 0.0f);
    EXPECT_EQ (floatAt (p, 188), 0.0f);
    EXPECT_EQ (floatAt (p, 169), 20000.0f);
    EXPECT_EQ (floatAt (p, 183), 270.0f);
}

TEST (PresetUpgrade, VersionThresholds)
{
    // 2.5.1 and "no version" are upgraded.
    for (float version : { 132353.0f, -1.0f, 0.0f, 132352.6f })
    {
        const Preset p = upgraded (presetWith ({ { 238, version } }));
        EXPECT_EQ (p.params.count (162), 1u) << version;
        EXPECT_EQ (floatAt (p, 238), 393728.0f);
    }

    // 2.5.2 and later keep their layout but are stamped 6.2.0 all the same.
    for (float version : { 132354.0f, 132353.6f, 393728.0f, 500000.0f, -2.0f })
    {
        const Preset p = upgraded (presetWith ({ { 238, version }, { 22, 2.0f } }));
        EXPECT_EQ (p.params.size(), 2u) << version;
        EXPECT_EQ (floatAt (p, 238), 393728.0f);
        EXPECT_EQ (floatAt (p, 22), 2.0f);
    }
}

TEST (PresetUpgrade, SectionTypeSelectsOneOnSwitch)
{
    struct Case { float type; uint32_t onKey; float selector; };

    for (const Case c : { Case { 0, 211, 16 }, Case { 1, 161, 2 }, Case { 2, 184, 4 }, Case { 3, 198, 8 }, Case { 2.4f, 184, 4 } })
    {
        const Preset p = upgraded (presetWith ({ { 22, c.type }, { 23, 1.0f } }));

        for (uint32_t key : { 161u, 184u, 198u, 211u })
            EXPECT_EQ (floatAt (p, key), key == c.onKey ? 1.0f : 0.0f) << "type " << c.type << " key " << key;

        EXPECT_EQ (floatAt (p, 23), c.selector);
        EXPECT_EQ (floatAt (p, 22), c.type); // old keys stay
    }

    const Preset other = upgraded (presetWith ({ { 22, 7.0f }, { 23, 1.0f } }));
    for (uint32_t key : { 161u, 184u, 198u, 211u })
        EXPECT_EQ (floatAt (other, key), 0.0f);
    EXPECT_EQ (floatAt (other, 23), 2.0f);

    const Preset offByRounding = upgraded (presetWith ({ { 22, 1.0f }, { 23, 0.4f } }));
    EXPECT_EQ (floatAt (offByRounding, 161), 0.0f);
}

TEST (PresetUpgrade, OldValuesAreSpreadOverTheNewSections)
{
    Preset p = presetWith ({ { 25, 0.7f }, { 26, 0.2f }, { 27, 0.3f }, { 28, 0.5f }, { 95, 2.0f }, { 112, 0.9f } });
    p.params[5] = 12345; // unrelated keys are left alone
    p = upgraded (p);

    for (uint32_t key : { 162u, 185u, 199u, 212u })
        EXPECT_EQ (floatAt (p, key), 0.7f) << key;
    for (uint32_t key : { 165u, 189u, 202u, 213u })
        EXPECT_EQ (floatAt (p, key), 0.2f) << key;
    for (uint32_t key : { 166u, 190u, 203u, 214u })
        EXPECT_EQ (floatAt (p, key), 0.3f) << key;
    for (uint32_t key : { 191u, 204u, 218u })
        EXPECT_EQ (floatAt (p, key), 0.5f) << key;
    EXPECT_EQ (floatAt (p, 163), 0.9f);
    EXPECT_EQ (floatAt (p, 186), 0.9f);
    EXPECT_EQ (floatAt (p, 215), 2.0f);
    EXPECT_EQ (floatAt (p, 167), 0.03f * 2.0f);
    EXPECT_EQ (floatAt (p, 188), 0.01f * 2.0f);
    EXPECT_EQ (floatAt (p, 168), powf (10.0f, 2.0f * 0.5f + 1.4771212f));
    EXPECT_EQ (floatAt (p, 209), powf (10.0f, 0.6019101f * 2.0f + 2.1607685f));
    EXPECT_EQ (p.params.at (5), 12345u);
    EXPECT_EQ (floatAt (p, 25), 0.7f);
}

TEST (PresetUpgrade, UnrepresentableVersionCountsAsNone)
{
    const Preset nan = upgraded (presetWith ({ { 238, std::nanf ("") } }));
    EXPECT_EQ (nan.params.count (162), 1u);

    const Preset huge = upgraded (presetWith ({ { 238, 1.0e30f }, { 22, 1.0e30f } }));
    EXPECT_EQ (floatAt (huge, 23), 16.0f);
}
