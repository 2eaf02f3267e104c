// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdlib>
#include <memory>

/** Band-limited sample-rate conversion of one mono stream of doubles.

    The lowpass is a Kaiser-windowed sinc stored as a finely sampled table (one
    wing of it; the filter is symmetric) and evaluated at the fractional input
    position of every output sample. It streams: input may come in pieces,
    output is delivered up to the caller's capacity and the rest waits for the
    next call. A caller converting several channels calls reset() before each.

    The cabinet importer builds one with filterSpan 35, interpolated
    coefficients, factors 1/12 to 12 and 4096 table entries per input sample.
*/
class Resampler
{
public:
    /** Builds the filter table and the buffers. filterSpan must give a wing of
        at least one entry and 0 < minFactor <= maxFactor; neither is checked. */
    Resampler (int filterSpan, int interpolateCoefficients, double minFactor, double maxFactor, double tableResolution);
    virtual ~Resampler();

    Resampler (const Resampler&) = delete;
    Resampler& operator= (const Resampler&) = delete;

    /** Forgets the history and any waiting output, so the next block is a new signal. */
    void reset();

    /** Converts by `factor` (output rate / input rate). Takes input from
        input[*inputUsed] on and advances *inputUsed past what it took (the
        caller sets it to 0 before the first call for a block); writes at most
        outputLength samples and returns their number. `last` non-zero says the
        block ends with this input, so the tail is flushed. Returns -1, and
        changes nothing, for a factor outside [minFactor, maxFactor] or NaN. */
    int process (const double* input, int inputLength, int last, int* inputUsed,
                 double* output, int outputLength, double factor);

    /** Fills `count` entries of the right half of the windowed-sinc lowpass:
        cutoff `rolloff` of the input Nyquist frequency, Kaiser window `beta`. */
    void designLowpass (double* table, int count, double rolloff, double beta) const;

    /** The modified Bessel function I0 (Abramowitz and Stegun 9.8.1 and 9.8.2). */
    static double besselI0 (double x);

private:
    struct FreeDeleter
    {
        void operator() (double* p) const { std::free (p); }
    };

    using Buffer = std::unique_ptr<double[], FreeDeleter>;

    static Buffer allocate (int count);

    int filter (int usable, double factor, double gain);
    int wingCoefficients (double position, double step, bool wholeSteps, int limit, double* out) const;
    template <int direction>
    double polyphaseWing (double position, int limit, const double* x) const;
    void deliverPending (double* output, int outputLength, int& delivered);

    double tableResolution;
    int interpolateCoefficients;
    double minFactor;
    double maxFactor;
    double time = 0.0;          // position of the next output in inputBuffer, in input samples
    int wingLength = 0;
    Buffer coefficientPairs;    // right half of the filter (entry 0 is the centre), each with its delta
    Buffer polyphaseRows;       // the same pairs, row r holding entries r, r + rowStride, ...
    int rowStride = 1;
    int rowLength = 1;
    Buffer inputBuffer;         // history, then input not yet consumed (plus a zero tail)
    Buffer outputBuffer;        // produced samples not yet delivered
    int inputCapacity = 0;
    int inputFill = 0;
    int reach = 0;              // history needed on each side of the position, plus a margin
    int outputCapacity = 0;
    int outputPending = 0;

    // Downsampling (and upsampling without interpolation): the taps of both
    // wings for the last phase seen, the left wing reversed and ending at
    // taps[maxTaps], the right wing from there on. Outputs at a step that is
    // exact in binary (96 and 192 kHz to 48 kHz) share a few phases, so the
    // table, read at a stride that defeats the caches, is read once for them.
    int maxTaps = 0;
    Buffer taps;
    int leftTapCount = 0;
    int rightTapCount = 0;
    double tapsPhase = -1.0;
    double tapsStep = 0.0;
};
