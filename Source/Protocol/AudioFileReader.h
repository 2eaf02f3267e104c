// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <cstdio>

/*  Reader for the impulse-response files a user imports as a cabinet: WAV and
    AIFF, one or two channels, 44.1 to 192 kHz, 8/16/20/24/32-bit integer or
    32-bit float (WAV only).

    Every output pointer may be null. sampleRate and isMono are written once the
    header checks pass; the samples are decoded only when left, right and
    numSamples are all given, into arrays made with new[] that the caller
    releases with delete[] (arrays already held there are released first). A
    failed read leaves every output as it was.
*/

/** Why a reader gave up. Used as the exception type inside the readers only:
    each reader catches it and returns false, so it never reaches a caller. */
enum waverror
{
    WavErrorOpen = 1,        ///< no path, or the file cannot be opened
    WavErrorMalformed = 3,   ///< malformed or inconsistent file
    WavErrorFormatTag = 4,   ///< WAV format tag we cannot decode
    WavErrorChannels = 5,    ///< not one or two channels
    WavErrorSampleRate = 6,  ///< not one of the six accepted rates
    WavErrorBitDepth = 7     ///< not 8, 16, 20, 24 or 32 bits
};

/** Tries the WAV reader, then the AIFF reader; true when either succeeded. */
bool loadAudioFile (const char* path, double** left, double** right, int* numSamples, int* sampleRate, bool* isMono);

/** Reads a WAV file; false on any failure. */
bool readWavFile (const char* path, double** left, double** right, int* numSamples, int* sampleRate, bool* isMono);

/** Reads an AIFF file; false on any failure. */
bool readAiffFile (const char* path, double** left, double** right, int* numSamples, int* sampleRate, bool* isMono);

/** The WAV reader on a stream the caller opened (it stays open, and is read
    from its start). Returns 0 on success, else the waverror code. This is what
    readWavFile runs; it lets the caller read from memory (fmemopen) and see
    the reason of a failure. */
int readWavStream (std::FILE* file, double** left, double** right, int* numSamples, int* sampleRate, bool* isMono);

/** The AIFF reader on an open stream; as readWavStream. */
int readAiffStream (std::FILE* file, double** left, double** right, int* numSamples, int* sampleRate, bool* isMono);

/** Converts a big-endian 80-bit IEEE extended number (AIFF's sample rate).
    Fails for zero, infinities, NaNs and exponents beyond a double's range. */
bool readExtendedFloat (const uint8_t bytes[10], double& value);

/** Read 4 bytes in the given byte order; false on a short read. */
bool readLittleEndian32 (std::FILE* file, uint32_t& value);
bool readBigEndian32 (std::FILE* file, uint32_t& value);
