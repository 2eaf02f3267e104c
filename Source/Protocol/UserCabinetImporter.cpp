// SPDX-License-Identifier: GPL-3.0-or-later
#include "UserCabinetImporter.h"

#include "AudioFileReader.h"
#include "Resampler.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace
{
// The filter the pedal's impulses are converted with: a 35-sample span and a
// finely sampled table, covering every factor the accepted rates need.
constexpr int kFilterSpan = 35;
constexpr double kTableResolution = 4096.0;
} // namespace

Tessarine::Result UserCabinetImporter::importImpulse (const char* path, float* impulse)
{
    if (! readImpulse (path, impulse, impulse + kLength))
        return TESSARINE_ERROR ("Error loading impulse file");

    return Tessarine::kSuccess;
}

bool UserCabinetImporter::readImpulse (const char* path, float* left, float* right)
{
    double* fileLeft = nullptr;
    double* fileRight = nullptr;
    int numSamples = 0;
    int sampleRate = 0;
    bool isMono = false;

    const bool loaded = loadAudioFile (path, &fileLeft, &fileRight, &numSamples, &sampleRate, &isMono);
    const std::unique_ptr<double[]> ownedLeft (fileLeft);
    const std::unique_ptr<double[]> ownedRight (fileRight);

    std::fill (left, left + kLength, 0.0f);
    std::fill (right, right + kLength, 0.0f);

    // A cabinet must always hold something playable: the unit impulse is a
    // cabinet that leaves the sound as it is.
    if (! loaded)
    {
        left[0] = 1.0f;
        right[0] = 1.0f;
        return false;
    }

    std::vector<double> convertedLeft (kLength, 0.0);
    std::vector<double> convertedRight (kLength, 0.0);
    int kept = 0;

    if (sampleRate == kSampleRate)
    {
        kept = std::min (numSamples, kLength);
        std::copy (fileLeft, fileLeft + kept, convertedLeft.begin());
        std::copy (fileRight, fileRight + kept, convertedRight.begin());
    }
    else
    {
        // Each channel is converted on its own from a clean history; a pass
        // stops as soon as the 1024 outputs are there, so a long file costs
        // only its reading.
        Resampler resampler (kFilterSpan, 1, 1.0 / 12.0, 12.0, kTableResolution);
        const double factor = (double) kSampleRate / sampleRate;
        int used = 0;

        resampler.reset();
        resampler.process (fileLeft, numSamples, 1, &used, convertedLeft.data(), kLength, factor);

        resampler.reset();
        used = 0;
        kept = std::max (0, resampler.process (fileRight, numSamples, 1, &used, convertedRight.data(), kLength, factor));
    }

    for (int i = 0; i < kept; ++i)
    {
        left[i] = (float) convertedLeft[(size_t) i];
        right[i] = (float) convertedRight[(size_t) i];
    }

    return true;
}
