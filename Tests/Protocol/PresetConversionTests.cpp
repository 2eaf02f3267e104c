// SPDX-License-Identifier: GPL-3.0-or-later
#include "PresetConversion.h"
#include "TessarineDataFile.h"
#include "Support/BlockWords.h"
#include "Support/CollectingOutputStream.h"
#include "Support/ScriptedInputStream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <set>

using namespace Tessarine;
using namespace Tessarine::TessarineData;
using TestSupport::BlockWords;

namespace
{

uint32_t bitsOf (float f)
{
    uint32_t bits;
    std::memcpy (&bits, &f, 4);
    return bits;
}

float floatAt (const ParamMap& params, uint32_t key)
{
    const auto it = params.find (key);
    EXPECT_NE (it, params.end()) << "key " << key;

    if (it == params.end())
        return std::numeric_limits<float>::quiet_NaN();

    float f;
    std::memcpy (&f, &it->second, 4);
    return f;
}

Preset presetWith (std::initializer_list<std::pair<uint32_t, float>> values)
{
    Preset p;
    for (const auto& [key, value] : values)
        p.params[key] = bitsOf (value);
    return p;
}

struct Converted
{
    FullQuorbelPreset preset;
    bool useAmpCabinet = true;
    double knobs[kConvertedKnobCount] = { -9, -9, -9, -9, -9, -9, -9, -9 };
};

Converted convert (const Preset& source)
{
    Converted c;
    EXPECT_TRUE (convertPreset (source, c.preset, &c.useAmpCabinet, c.knobs));
    return c;
}

void expectEmptyCabinet (const Cabinet& cab)
{
    EXPECT_EQ (cab.name, "None");

    for (size_t channel = 0; channel < kImpulseChannels; ++channel)
        for (size_t i = 0; i < kImpulseLength; ++i)
            ASSERT_EQ (cab.impulse[channel][i], i == 0 ? 1.0f : 0.0f) << channel << "/" << i;
}

const std::set<uint32_t> kTableKeys {
    0, 1, 2, 3, 4, 5, 16, 17, 18, 19, 20, 21, 32, 33, 34, 35, 36, 37, 48, 49, 50, 51, 52, 53,
    64, 65, 66, 67, 68, 97, 98, 99, 100, 101, 112, 113, 114, 128, 129, 130, 131, 132, 133, 134,
    135, 136, 137, 138, 144, 145, 146, 147, 148, 149, 150, 151, 160, 161, 162, 163, 164, 165, 176,
};

std::set<uint32_t> keysOf (const ParamMap& params)
{
    std::set<uint32_t> keys;
    for (const auto& entry : params)
        keys.insert (entry.first);
    return keys;
}

} // namespace

TEST (ConvertPreset, AnEmptyPresetGivesEveryDefault)
{
    Converted c;
    c.preset.params[999] = 1;             // cleared first
    c.preset.ampData.name = "kept";       // not touched
    c.preset.finishingFilter[100] = 0x5A;
    c.preset.cab.name = "old";

    ASSERT_TRUE (convertPreset (Preset(), c.preset, &c.useAmpCabinet, c.knobs));

    std::set<uint32_t> expectedKeys = kTableKeys;
    expectedKeys.insert (96);
    EXPECT_EQ (keysOf (c.preset.params), expectedKeys);

    // Every kind of default, as the nearest single-precision value.
    const std::pair<uint32_t, float> defaults[] = {
        { 0, 0.0f }, { 2, 0.5f }, { 5, 0.0f }, { 17, 1.0f }, { 19, 1000.0f }, { 20, 0.707f }, { 36, 0.707f }, { 52, 0.707f },
        { 65, -70.0f }, { 66, 2.0f }, { 67, 0.001f }, { 68, 0.03f }, { 97, 30.0f }, { 98, 0.707f }, { 112, 1.0f },
        { 114, 1.0f }, { 132, 2.0f }, { 134, 1.0f }, { 135, 0.01f }, { 136, 0.1f }, { 146, 0.5f }, { 149, 0.5f },
        { 161, 1.0f }, { 162, 500.0f }, { 163, 0.707f }, { 165, 30.0f }, { 176, 1.0f }, { 96, 0.0f },
    };

    for (const auto& [key, value] : defaults)
        EXPECT_EQ (c.preset.params.at (key), bitsOf (value)) << "key " << key;

    EXPECT_FALSE (c.useAmpCabinet);
    const double knobs[] = { 0.5, 0.5, 0.5, 0.5, 0.5, 0.5 };
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ (c.knobs[i], knobs[i]) << i;
    EXPECT_DOUBLE_EQ (c.knobs[6], 0.1);
    EXPECT_EQ (c.knobs[7], 1.0);

    expectEmptyCabinet (c.preset.cab);
    EXPECT_EQ (c.preset.amp.id, 0u);
    EXPECT_EQ (c.preset.amp.name, "not loaded");
    EXPECT_EQ (c.preset.ampData.name, "kept");
    EXPECT_EQ (c.preset.finishingFilter[100], 0x5A);
}

TEST (ConvertPreset, ValuesAreCopiedAsBitsFromTheirSourceKeys)
{
    Preset source;
    // Every source key gets its own bit pattern, some of them not even numbers.
    for (uint32_t key = 0; key < 300; ++key)
        source.params[key] = 0x7FC00000u | key;

    source.params[11] = bitsOf (5.0f); // no cabinet rules in the way
    source.params[29] = bitsOf (0.0f);

    const Converted c = convert (source);
    const std::pair<uint32_t, uint32_t> routes[] = {
        { 0, 16 }, { 4, 21 }, { 16, 62 }, { 18, 61 }, { 21, 64 }, { 37, 70 }, { 50, 73 }, { 53, 76 }, { 64, 43 },
        { 65, 266 }, { 68, 269 }, { 97, 12 }, { 101, 79 }, { 112, 1 }, { 113, 8 }, { 128, 90 }, { 131, 121 },
        { 133, 92 }, { 138, 128 }, { 144, 36 }, { 145, 88 }, { 151, 81 }, { 160, 56 }, { 161, 55 }, { 165, 60 },
    };

    for (const auto& [target, from] : routes)
        EXPECT_EQ (c.preset.params.at (target), 0x7FC00000u | from) << "target " << target;

    EXPECT_EQ (c.preset.params.at (5), bitsOf (0.0f));
    EXPECT_EQ (c.preset.params.at (176), bitsOf (1.0f));
    EXPECT_EQ (keysOf (c.preset.params).size(), kTableKeys.size() + 1);
}

TEST (ConvertPreset, TheCabinetFollowsKey11)
{
    Preset withCab = presetWith ({ { 11, -4.0f } });
    withCab.name = "Old preset";
    withCab.cab = std::make_unique<Cabinet>();
    withCab.cab->name = "Room 4x12";
    withCab.cab->impulse[0][0] = 0.25f;
    withCab.cab->impulse[1][1023] = -0.5f;

    Converted c = convert (withCab);
    EXPECT_EQ (floatAt (c.preset.params, 96), 1.0f);
    EXPECT_FALSE (c.useAmpCabinet);
    EXPECT_EQ (c.preset.cab.name, "Room 4x12");
    EXPECT_EQ (std::memcmp (c.preset.cab.impulse, withCab.cab->impulse, sizeof (ImpulseData)), 0);
    EXPECT_EQ (c.preset.cab.impulse[1][1023], -0.5f);

    withCab.cab.reset();
    c = convert (withCab);
    EXPECT_EQ (floatAt (c.preset.params, 96), 1.0f);
    EXPECT_FALSE (c.useAmpCabinet);
    expectEmptyCabinet (c.preset.cab);

    for (float ampCabinet : { -1.0f, -2.0f, -1.4f })
    {
        Preset p = presetWith ({ { 11, ampCabinet } });
        p.cab = std::make_unique<Cabinet>();
        p.cab->name = "ignored";
        c = convert (p);
        EXPECT_EQ (floatAt (c.preset.params, 96), 1.0f) << ampCabinet;
        EXPECT_TRUE (c.useAmpCabinet) << ampCabinet;
        expectEmptyCabinet (c.preset.cab);
    }

    for (float other : { 0.0f, -3.0f, 2.0f, -4.6f, std::numeric_limits<float>::quiet_NaN() })
    {
        c = convert (presetWith ({ { 11, other } }));
        EXPECT_EQ (floatAt (c.preset.params, 96), 0.0f) << other;
        EXPECT_FALSE (c.useAmpCabinet);
        expectEmptyCabinet (c.preset.cab);
    }

    // Rounded to the nearest: -3.6 is -4.
    c = convert (presetWith ({ { 11, -3.6f } }));
    EXPECT_EQ (floatAt (c.preset.params, 96), 1.0f);
}

TEST (ConvertPreset, EchoKeysOnlyWhenKey29IsOneOrMore)
{
    for (float off : { 0.0f, -2.0f, 0.4f })
    {
        const Converted c = convert (presetWith ({ { 29, off } }));
        for (uint32_t key = 192; key <= 197; ++key)
            EXPECT_EQ (c.preset.params.count (key), 0u) << off << " " << key;
    }

    Converted c = convert (presetWith ({ { 29, 3.0f }, { 30, 0.3f }, { 33, 0.8f } }));
    EXPECT_EQ (floatAt (c.preset.params, 192), 0.3f);
    EXPECT_EQ (floatAt (c.preset.params, 193), 2.0f);
    EXPECT_EQ (floatAt (c.preset.params, 194), 0.375f);
    EXPECT_EQ (floatAt (c.preset.params, 195), 0.8f);
    // Keys 80 and 31 absent: both levels are -12.
    EXPECT_EQ (floatAt (c.preset.params, 196), 0.5f);
    EXPECT_EQ (floatAt (c.preset.params, 197), -12.0f);
    EXPECT_EQ (c.preset.params.size(), kTableKeys.size() + 1 + 6);

    c = convert (presetWith ({ { 29, 1.0f }, { 32, 2.0f } }));
    EXPECT_EQ (floatAt (c.preset.params, 193), 0.0f);
    EXPECT_EQ (floatAt (c.preset.params, 194), 1.365f);
    c = convert (presetWith ({ { 29, 1.0f }, { 32, 0.0f } }));
    EXPECT_EQ (floatAt (c.preset.params, 194), 0.001f);

    // Key 31 counts twice when present: -6 and -6 make -12 against -6.
    c = convert (presetWith ({ { 29, 1.0f }, { 80, -6.0f }, { 31, -6.0f } }));
    EXPECT_EQ (floatAt (c.preset.params, 196), 0.5f * std::pow (10.0f, -6.0f / 20.0f));
    EXPECT_NEAR (floatAt (c.preset.params, 196), 0.2506, 1e-4);
    EXPECT_EQ (floatAt (c.preset.params, 197), -6.0f);

    // The larger level the other way round: B = -10 above A = -20.
    c = convert (presetWith ({ { 29, 1.0f }, { 80, -20.0f }, { 31, -5.0f } }));
    EXPECT_EQ (floatAt (c.preset.params, 196), 1.0f - 0.5f * std::pow (10.0f, -10.0f / 12.0f));
    EXPECT_NEAR (floatAt (c.preset.params, 196), 0.9266, 1e-4);
    EXPECT_EQ (floatAt (c.preset.params, 197), -10.0f);
}

TEST (ConvertPreset, KnobValues)
{
    Converted c = convert (presetWith ({ { 3, 0.1f }, { 4, 0.2f }, { 5, 0.3f }, { 6, 0.4f }, { 2, 1.7f }, { 7, -0.25f }, { 37, 0.0f }, { 8, -60.0f } }));
    EXPECT_EQ (c.knobs[0], (double) 0.1f);
    EXPECT_EQ (c.knobs[1], (double) 0.2f);
    EXPECT_EQ (c.knobs[2], (double) 0.3f);
    EXPECT_EQ (c.knobs[3], (double) 0.4f);
    EXPECT_EQ (c.knobs[4], (double) 1.7f);   // not limited
    EXPECT_EQ (c.knobs[5], -0.25);
    EXPECT_EQ (c.knobs[6], 1.0);
    EXPECT_EQ (c.knobs[7], 0.0);              // the raw value is negative

    c = convert (presetWith ({ { 37, -20.0f }, { 8, -6.0f } }));
    EXPECT_DOUBLE_EQ (c.knobs[6], std::sqrt (0.1));
    EXPECT_DOUBLE_EQ (c.knobs[7], (std::sqrt (std::pow (10.0, -6.0 / 20)) - 0.1) / 0.9);

    // Out-of-range and damaged values still give knob positions.
    c = convert (presetWith ({ { 37, 40.0f }, { 8, std::numeric_limits<float>::quiet_NaN() } }));
    EXPECT_EQ (c.knobs[6], 1.0);
    EXPECT_EQ (c.knobs[7], 1.0);

    // Without an array for them, nothing is written there and the rest converts.
    FullQuorbelPreset target;
    bool useAmp = true;
    EXPECT_TRUE (convertPreset (presetWith ({ { 0, 7.0f } }), target, &useAmp, nullptr));
    EXPECT_FALSE (useAmp);
    EXPECT_EQ (target.amp.id, 7u);
}

TEST (ConvertPreset, AmpIdentifierIsKey0RoundedHalfAwayFromZero)
{
    const std::pair<float, uint32_t> cases[] = {
        { 41.6f, 42u }, { 41.5f, 42u }, { 41.4f, 41u }, { -2.5f, (uint32_t) -3 },
        { std::numeric_limits<float>::quiet_NaN(), 0u }, { std::numeric_limits<float>::infinity(), 0u },
    };

    for (const auto& [value, id] : cases)
    {
        const Converted c = convert (presetWith ({ { 0, value } }));
        EXPECT_EQ (c.preset.amp.id, id) << value;
        EXPECT_EQ (c.preset.amp.name, "not loaded");
    }
}

// The whole import path: the ".pre" file text read, upgraded and converted.
TEST (ConvertPreset, AnOlderPresetFileConvertsWithItsNameAndCabinet)
{
    TessarineDataFile file (TessarineDataFile::PresetData, 2, 4);
    file.segments[0] = BlockWords::bytesOf ({ 11, bitsOf (-4.0f), 0, bitsOf (12.0f), 16, bitsOf (0.25f), 0xFFFFFFFFu, 0 });
    file.segments[1] = BlockWords::bytesOf ({ 'C', 'r', 'u', 'n', 'c', 'h' });
    file.segments[1].resize (68, 0);
    file.segments[2].assign (8192, 0);
    writeWord (file.segments[2].data() + 4096, bitsOf (0.75f));
    file.segments[3] = BlockWords::bytesOf ({ 'S', 'm', 'a', 'l', 'l' });
    file.segments[3].resize (64, 0);

    TestSupport::CollectingOutputStream text;
    ASSERT_TRUE (file.write (text));
    TestSupport::ScriptedInputStream in (text.text());
    Preset preset;
    ASSERT_TRUE (TessarineDataFile::readPresetFile (in, preset, nullptr));
    ASSERT_EQ (preset.name, "Crunch");

    const Converted c = convert (preset);
    EXPECT_EQ (c.preset.amp.id, 12u);
    EXPECT_EQ (floatAt (c.preset.params, 0), 0.25f);
    EXPECT_EQ (floatAt (c.preset.params, 96), 1.0f);
    EXPECT_FALSE (c.useAmpCabinet);
    EXPECT_EQ (c.preset.cab.name, "Small");
    EXPECT_EQ (c.preset.cab.impulse[0][0], 0.0f);
    EXPECT_EQ (c.preset.cab.impulse[1][0], 0.75f);
    // The upgrade's keys are not carried over.
    EXPECT_EQ (c.preset.params.count (238), 0u);
    EXPECT_EQ (c.preset.params.count (211), 0u);
}
