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

    int filterUp (int usable, double factor, double gain);
    int filterDown (int usable, double factor, double gain);
    double upWing (const double* x, int direction, double position, int limit) const;
    double downWing (const double* x, int direction, double position, double step, int limit) const;
    void deliverPending (double* output, int outputLength, int& delivered);

    double tableResolution;
    int interpolateCoefficients;
    double minFactor;
    double maxFactor;
    double time = 0.0;          // position of the next output in inputBuffer, in input samples
    int wingLength = 0;
    Buffer coefficients;        // right half of the filter; entry 0 is the centre
    Buffer coefficientDeltas;   // entry i = coefficients[i + 1] - coefficients[i]
    Buffer inputBuffer;         // history, then input not yet consumed (plus a zero tail)
    Buffer outputBuffer;        // produced samples not yet delivered
    int inputCapacity = 0;
    int inputFill = 0;
    int reach = 0;              // history needed on each side of the position, plus a margin
    int outputCapacity = 0;
    int outputPending = 0;
};
