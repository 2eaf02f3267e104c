// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the WAV reader and then the AIFF reader, as
// loadAudioFile does with a file, and converts whatever they decode to 48 kHz
// the way the cabinet importer does.
#include "AudioFileReader.h"
#include "Resampler.h"

#include <cstdio>
#include <cstdlib>
#include <initializer_list>

namespace
{
int readBoth (std::FILE* file, double** left, double** right, int* numSamples, int* sampleRate, bool* isMono)
{
    if (readWavStream (file, left, right, numSamples, sampleRate, isMono) == 0)
        return 0;

    return readAiffStream (file, left, right, numSamples, sampleRate, isMono);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;

    std::FILE* file = fmemopen (const_cast<uint8_t*> (data), size, "rb");

    if (file == nullptr)
        return 0;

    // First only the format, then the samples as well.
    int rate = 0;
    bool mono = false;
    readBoth (file, nullptr, nullptr, nullptr, &rate, &mono);

    double* left = nullptr;
    double* right = nullptr;
    int numSamples = 0;
    const bool read = readBoth (file, &left, &right, &numSamples, &rate, &mono) == 0;
    std::fclose (file);

    if (read)
    {
        if (numSamples < 0 || left == nullptr || right == nullptr)
            std::abort();

        static Resampler resampler (35, 1, 1.0 / 12.0, 12.0, 4096.0);
        double converted[1024];

        for (const double* channel : { left, right })
        {
            resampler.reset();
            int used = 0;
            const int count = resampler.process (channel, numSamples, 1, &used, converted, 1024, 48000.0 / rate);

            if (count < 0 || count > 1024)
                std::abort();
        }
    }

    delete[] left;
    delete[] right;
    return 0;
}
