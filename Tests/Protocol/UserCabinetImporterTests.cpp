// SPDX-License-Identifier: GPL-3.0-or-later
#include "UserCabinetImporter.h"
#include "Support/AudioFixtureFolder.h"
#include "Support/LogCapture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using TestSupport::AudioFixtureFolder;
using TestSupport::LogCapture;

namespace
{

constexpr int kLength = UserCabinetImporter::kLength;

/** Runs an import into a buffer prefilled with garbage, so that every sample
    the importer leaves alone shows. */
std::vector<float> import (const std::string& path, Tessarine::Result* result = nullptr)
{
    std::vector<float> impulse (2 * kLength, 123.0f);
    const Tessarine::Result r = UserCabinetImporter::importImpulse (path.c_str(), impulse.data());

    if (result != nullptr)
        *result = r;

    return impulse;
}

void expectUnitImpulse (const std::vector<float>& impulse)
{
    for (int i = 0; i < 2 * kLength; ++i)
        ASSERT_EQ (impulse[(size_t) i], i % kLength == 0 ? 1.0f : 0.0f) << i;
}

} // namespace

TEST (UserCabinetImporter, At48kHzSamplesPassUnchangedAndEndInZeros)
{
    AudioFixtureFolder folder;
    const std::string file = folder.makeWithSox ("short.wav", "-r 48000 -c 2 -n -b 24 %OUT% synth 500s whitenoise sine 1000");
    ASSERT_FALSE (file.empty());
    const std::vector<double> reference = AudioFixtureFolder::decodeWithSox (file);
    ASSERT_EQ (reference.size(), 1000u);

    Tessarine::Result result;
    const std::vector<float> impulse = import (file, &result);
    EXPECT_TRUE (result.ok);

    for (int i = 0; i < kLength; ++i)
    {
        const float expectedLeft = i < 500 ? (float) reference[(size_t) (2 * i)] : 0.0f;
        const float expectedRight = i < 500 ? (float) reference[(size_t) (2 * i + 1)] : 0.0f;
        ASSERT_EQ (impulse[(size_t) i], expectedLeft) << i;
        ASSERT_EQ (impulse[(size_t) (kLength + i)], expectedRight) << i;
    }
}

TEST (UserCabinetImporter, LongerResponsesAreCutPlainlyAfter1024Samples)
{
    AudioFixtureFolder folder;
    const std::string file = folder.makeWithSox ("long.aiff", "-r 48000 -c 1 -n -b 16 %OUT% synth 3000s whitenoise");
    ASSERT_FALSE (file.empty());
    const std::vector<double> reference = AudioFixtureFolder::decodeWithSox (file);
    ASSERT_EQ (reference.size(), 3000u);

    const std::vector<float> impulse = import (file);

    // No taper: the last kept sample is the file's own, and a mono file
    // fills both channels alike.
    for (int i = 0; i < kLength; ++i)
    {
        ASSERT_EQ (impulse[(size_t) i], (float) reference[(size_t) i]) << i;
        ASSERT_EQ (impulse[(size_t) (kLength + i)], impulse[(size_t) i]) << i;
    }
}

TEST (UserCabinetImporter, OtherRatesAreResampledTo48kHz)
{
    AudioFixtureFolder folder;

    // A 1 kHz sine at any accepted rate must come out as a 1 kHz sine at
    // 48 kHz, in both channels of a mono file. The first samples carry the
    // filter's start-up from silence, so they are left out.
    for (int rate : { 44100, 88200, 96000, 176400, 192000 })
    {
        SCOPED_TRACE (rate);
        const std::string file = folder.makeWithSox ("sine.wav", "-r " + std::to_string (rate) + " -c 1 -n -b 24 %OUT% synth 8000s sine 1000 vol 0.5");
        ASSERT_FALSE (file.empty());

        Tessarine::Result result;
        const std::vector<float> impulse = import (file, &result);
        ASSERT_TRUE (result.ok);

        double worst = 0;
        for (int i = 64; i < kLength; ++i)
        {
            const double expected = 0.5 * std::sin (2 * 3.141592653589793 * 1000.0 * i / 48000.0);
            worst = std::max (worst, std::fabs (impulse[(size_t) i] - expected));
            ASSERT_EQ (impulse[(size_t) (kLength + i)], impulse[(size_t) i]) << i;
        }

        EXPECT_LT (worst, 5e-4);
    }
}

TEST (UserCabinetImporter, AShortFileAtAnotherRateEndsInZerosAfterItsConvertedLength)
{
    AudioFixtureFolder folder;
    const std::string file = folder.makeWithSox ("short96.wav", "-r 96000 -c 2 -n -b 16 %OUT% synth 1000s sine 500 sine 700");
    ASSERT_FALSE (file.empty());

    const std::vector<float> impulse = import (file);

    for (int channel = 0; channel < 2; ++channel)
    {
        const float* samples = impulse.data() + channel * kLength;
        EXPECT_NE (samples[499], 0.0f);

        for (int i = 500; i < kLength; ++i)
            ASSERT_EQ (samples[i], 0.0f) << i;
    }

    // The two channels held different signals and stay apart.
    EXPECT_NE (impulse[100], impulse[(size_t) (kLength + 100)]);
}

TEST (UserCabinetImporter, AFileThatCannotBeReadGivesTheUnitImpulseAndTheError)
{
    AudioFixtureFolder folder;
    const std::string lowRate = folder.makeWithSox ("low.wav", "-r 22050 -c 2 -n -b 16 %OUT% synth 500s sine 1000");
    ASSERT_FALSE (lowRate.empty());
    const std::string text = folder.write ("notes.wav", { 'n', 'o', 't', ' ', 'a', 'u', 'd', 'i', 'o', '\n' });

    for (const std::string& path : { folder.path ("missing.wav"), text, lowRate })
    {
        SCOPED_TRACE (path);
        LogCapture log;
        Tessarine::Result result;
        const std::vector<float> impulse = import (path, &result);

        EXPECT_FALSE (result.ok);
        EXPECT_STREQ (result.error, "Error loading impulse file");
        EXPECT_TRUE (log.contains ("Error loading impulse file"));
        expectUnitImpulse (impulse);
    }

    std::vector<float> left (kLength, 5.0f), right (kLength, 5.0f);
    EXPECT_FALSE (UserCabinetImporter::readImpulse (nullptr, left.data(), right.data()));
    EXPECT_EQ (left[0], 1.0f);
    EXPECT_EQ (right[1], 0.0f);
}
