// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Result.h"

/** Turns an impulse-response file (WAV or AIFF at any accepted rate) into the
    impulse of a user cabinet: two channels of 1024 single-precision samples at
    48000 Hz, left channel first. Longer responses are cut after 1024 samples,
    shorter ones end in zeros; a mono file fills both channels.

    Everything lives for one call, so imports on different threads are
    independent. Each resampled import builds its own filter table. */
class UserCabinetImporter
{
public:
    static constexpr int kLength = 1024;
    static constexpr int kSampleRate = 48000;

    /** Fills impulse[0 .. 2 x kLength - 1]. When the file cannot be read the
        result is "Error loading impulse file" and the impulse is a unit
        impulse in each channel. */
    static Tessarine::Result importImpulse (const char* path, float* impulse);

    /** Fills kLength samples of each channel; false, with unit impulses, when
        the file cannot be read. */
    static bool readImpulse (const char* path, float* left, float* right);
};
