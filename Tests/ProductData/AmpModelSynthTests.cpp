// SPDX-License-Identifier: GPL-3.0-or-later
#include "AmpModelSynth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>

using namespace Tessarine::TessarineData;

namespace
{
float floatAt (const uint8_t* block, size_t word)
{
    const uint32_t bits = readWord (block + 4 * word);
    float value;
    std::memcpy (&value, &bits, sizeof (value));
    return value;
}

float paramValue (const Amp& amp, uint32_t id)
{
    const uint32_t bits = amp.data.params.at (id);
    float value;
    std::memcpy (&value, &bits, sizeof (value));
    return value;
}
} // namespace

TEST (AmpModelSynth, MakesTheSameModelEveryTimeAndADifferentOnePerIdentifier)
{
    std::set<std::vector<uint8_t>> impulses;

    for (int row = 1; row <= (int) AmpModelCatalogue::kCount; ++row)
    {
        const Amp a = AmpModelSynth::make (AmpModelCatalogue::row (row));
        const Amp b = AmpModelSynth::make (AmpModelCatalogue::row (row));
        EXPECT_EQ (a.data.params, b.data.params);
        EXPECT_TRUE (a.impulse == b.impulse);
        EXPECT_TRUE (a.finishingFilter == b.finishingFilter);
        impulses.insert (std::vector<uint8_t> (a.impulse.begin(), a.impulse.end()));
    }

    EXPECT_EQ (impulses.size(), AmpModelCatalogue::kCount);
}

TEST (AmpModelSynth, FinishingFilterIsAShortFilterOfUnityGain)
{
    for (int row = 1; row <= (int) AmpModelCatalogue::kCount; ++row)
    {
        const Amp amp = AmpModelSynth::make (AmpModelCatalogue::row (row));
        double sum = 0.0;

        for (size_t k = 0; k < kFinishingFilterSize / 4; ++k)
        {
            const float tap = floatAt (amp.finishingFilter.data(), k);

            if (k >= (size_t) AmpModelSynth::kFinishingFilterTaps)
            {
                ASSERT_EQ (tap, 0.0f) << "row " << row << " tap " << k;
            }

            sum += tap;
        }

        EXPECT_NEAR (sum, 1.0, 1e-6) << "row " << row;
        EXPECT_GT (floatAt (amp.finishingFilter.data(), 0), 0.0f);
    }
}

TEST (AmpModelSynth, ImpulseIsSpeakerLikeInBothChannels)
{
    for (int row = 1; row <= (int) AmpModelCatalogue::kCount; ++row)
    {
        const Amp amp = AmpModelSynth::make (AmpModelCatalogue::row (row));
        ImpulseData impulse;
        decodeImpulse (amp.impulse.data(), impulse);

        for (size_t channel = 0; channel < kImpulseChannels; ++channel)
        {
            double peak = 0.0, early = 0.0, late = 0.0;

            for (size_t n = 0; n < kImpulseLength; ++n)
            {
                const double s = impulse[channel][n];
                ASSERT_TRUE (std::isfinite (s));
                peak = std::fmax (peak, std::fabs (s));

                if (n < 256)
                    early += s * s;
                else if (n >= 768)
                    late += s * s;
            }

            // Scaled to a peak of 0.8 and dying away well within the block.
            EXPECT_NEAR (peak, 0.8, 1e-6) << "row " << row << " channel " << channel;
            EXPECT_LT (late, early * 0.05) << "row " << row << " channel " << channel;
        }

        EXPECT_NE (std::memcmp (impulse[0], impulse[1], sizeof (impulse[0])), 0) << "row " << row;
    }
}

TEST (AmpModelSynth, ParametersFitTheAmpBlockAndFollowTheFamily)
{
    for (int row = 1; row <= (int) AmpModelCatalogue::kCount; ++row)
    {
        const AmpModelDescription& d = AmpModelCatalogue::row (row);
        const Amp amp = AmpModelSynth::make (d);
        uint8_t block[kAmpBlockSize];

        EXPECT_TRUE (encodeAmpModelBlock (block, amp.data)) << "row " << row;
        EXPECT_EQ (amp.data.name, d.ampName);
        EXPECT_FALSE (amp.data.name2.empty());

        for (const auto& [id, bits] : amp.data.params)
        {
            float value;
            std::memcpy (&value, &bits, sizeof (value));
            EXPECT_TRUE (std::isfinite (value)) << "row " << row << " parameter " << id;
        }
    }

    // The power stages have no preamp and each its own tube; the bass amps
    // keep their low end.
    for (uint32_t tube = 0; tube < 4; ++tube)
    {
        const Amp power = AmpModelSynth::make (AmpModelCatalogue::row (21 + (int) tube));
        EXPECT_EQ (paramValue (power, AmpModelSynth::PreampStages), 0.0f);
        EXPECT_EQ (paramValue (power, AmpModelSynth::PowerTubeType), (float) tube);
    }

    EXPECT_LT (paramValue (AmpModelSynth::make (AmpModelCatalogue::row (9)), AmpModelSynth::CouplingLowCut), 40.0f);
    EXPECT_GE (paramValue (AmpModelSynth::make (AmpModelCatalogue::row (1)), AmpModelSynth::CouplingLowCut), 40.0f);
}
