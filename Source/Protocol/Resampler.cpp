// SPDX-License-Identifier: GPL-3.0-or-later
#include "Resampler.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace
{
constexpr double kPi = 3.141592653589793;
constexpr double kRolloff = 0.9;
constexpr double kKaiserBeta = 6.0;

// Pairs of doubles: one SSE2 register on x86-64, a NEON one on ARM.
typedef double DoublePair __attribute__ ((vector_size (16)));

inline DoublePair loadPair (const double* p)
{
    DoublePair v;
    std::memcpy (&v, p, sizeof (v)); // unaligned
    return v;
}

// Sums in four independent pairs of lanes, so the additions do not wait on
// each other. (The wings are a few dozen to a few hundred taps long.)
inline double dot (const double* taps, int count, const double* x)
{
    DoublePair a = {}, b = {}, c = {}, d = {};
    int j = 0;

    for (; j + 8 <= count; j += 8)
    {
        a += loadPair (taps + j) * loadPair (x + j);
        b += loadPair (taps + j + 2) * loadPair (x + j + 2);
        c += loadPair (taps + j + 4) * loadPair (x + j + 4);
        d += loadPair (taps + j + 6) * loadPair (x + j + 6);
    }

    double rest = 0.0;

    for (; j < count; ++j)
        rest += taps[j] * x[j];

    const DoublePair sum = (a + b) + (c + d);
    return (sum[0] + sum[1]) + rest;
}
} // namespace

Resampler::Resampler (int filterSpan, int interpolate, double minimumFactor, double maximumFactor, double resolution)
    : tableResolution (resolution),
      interpolateCoefficients (interpolate),
      minFactor (minimumFactor),
      maxFactor (maximumFactor)
{
    wingLength = (int) ((filterSpan - 1) * tableResolution * 0.5);
    {
        const Buffer table = allocate (wingLength);
        designLowpass (table.get(), wingLength, kRolloff, kKaiserBeta);

        // Each coefficient sits next to its delta (coefficient i + 1 minus
        // coefficient i), so a tap reads one cache line; the last delta takes
        // the filter to zero just past the end of the wing.
        coefficientPairs = allocate (2 * wingLength);

        for (int i = 0; i < wingLength; ++i)
        {
            coefficientPairs[2 * i] = table[i];
            coefficientPairs[2 * i + 1] = (i + 1 < wingLength ? table[i + 1] : 0.0) - table[i];
        }
    }

    // Upsampling reads the table a whole period apart: entries r, r + stride,
    // r + 2 x stride, ... Row r holds exactly those pairs side by side (zeros
    // past the wing), so one output reads two short rows, not dozens of
    // entries far apart.
    rowStride = std::max (1, (int) tableResolution);
    rowLength = std::max (1, (wingLength + rowStride - 1) / rowStride);
    polyphaseRows = allocate (2 * rowStride * rowLength);

    for (int r = 0; r < rowStride; ++r)
        for (int j = 0; j < rowLength; ++j)
        {
            const int k = r + j * rowStride;
            double* pair = polyphaseRows.get() + 2 * ((size_t) r * (size_t) rowLength + (size_t) j);
            pair[0] = k < wingLength ? coefficientPairs[2 * k] : 0.0;
            pair[1] = k < wingLength ? coefficientPairs[2 * k + 1] : 0.0;
        }

    // Downsampling stretches the filter by 1/factor, so it needs that much
    // more history on each side.
    const auto reachFor = [filterSpan] (double factor) {
        return (int) ((filterSpan + 1) * 0.5 * std::max (1.0, 1.0 / factor) + 10);
    };

    reach = std::max (reachFor (minFactor), reachFor (maxFactor));
    inputCapacity = reach < 2044 ? 4096 : 2 * reach + 10;
    inputBuffer = allocate (inputCapacity + reach);
    std::fill (inputBuffer.get(), inputBuffer.get() + inputCapacity + reach, 0.0);

    // One full input buffer converted at the largest factor must fit.
    outputCapacity = (int) (maxFactor * inputCapacity + 2.0);
    outputBuffer = allocate (outputCapacity);

    // A wing has at most one tap per table step, and the smallest step is
    // the smallest factor's share of a table period.
    const double smallestStep = std::max (1.0, std::min (1.0, minFactor) * tableResolution);
    maxTaps = (int) (wingLength / smallestStep) + 2;
    taps = allocate (2 * maxTaps);

    reset();
}

Resampler::~Resampler() = default;

Resampler::Buffer Resampler::allocate (int count)
{
    void* memory = std::malloc ((size_t) std::max (count, 1) * sizeof (double));

    if (memory == nullptr)
        throw std::bad_alloc();

    return Buffer (static_cast<double*> (memory));
}

void Resampler::reset()
{
    std::fill (inputBuffer.get(), inputBuffer.get() + reach, 0.0);
    inputFill = reach;
    outputPending = 0;
    time = reach;
}

double Resampler::besselI0 (double x)
{
    const double ax = std::fabs (x);

    if (ax < 3.75)
    {
        const double t = (x / 3.75) * (x / 3.75);
        return 1.0 + t * (3.5156229 + t * (3.0899424 + t * (1.2067492 + t * (0.2659732 + t * (0.0360768 + t * 0.0045813)))));
    }

    const double t = 3.75 / ax;
    const double series = 0.39894228 + t * (0.01328592 + t * (0.00225319 + t * (-0.00157565 + t * (0.00916281
                        + t * (-0.02057706 + t * (0.02635537 + t * (-0.01647633 + t * 0.00392377)))))));
    return series * std::exp (ax) / std::sqrt (ax);
}

void Resampler::designLowpass (double* table, int count, double rolloff, double beta) const
{
    const double scale = 1.0 / besselI0 (beta);
    const double span = count > 1 ? (double) (count - 1) : 1.0;

    for (int i = 0; i < count; ++i)
    {
        const double x = i / span;
        const double window = besselI0 (beta * std::sqrt (std::max (0.0, 1.0 - x * x))) * scale;

        if (i == 0)
        {
            table[0] = rolloff * window;
        }
        else
        {
            const double t = kPi * i / tableResolution;
            table[i] = std::sin (rolloff * t) * window / t;
        }
    }
}

int Resampler::process (const double* input, int inputLength, int last, int* inputUsed,
                        double* output, int outputLength, double factor)
{
    if (! (factor >= minFactor && factor <= maxFactor))
        return -1;

    int delivered = 0;
    deliverPending (output, outputLength, delivered);

    // Waiting output goes first; new input is taken only once it is all out.
    if (outputPending > 0)
        return delivered;

    const double gain = std::min (factor, 1.0);

    for (;;)
    {
        const int offered = std::max (0, inputLength - *inputUsed);
        const int taken = std::min (inputCapacity - inputFill, offered);

        if (taken > 0)
        {
            std::memcpy (inputBuffer.get() + inputFill, input + *inputUsed, (size_t) taken * sizeof (double));
            *inputUsed += taken;
            inputFill += taken;
        }

        // Outputs need `reach` samples on either side; at the end of the block
        // zeros stand in for the samples that never come.
        int usable = inputFill - 2 * reach;

        if (last != 0 && *inputUsed >= inputLength)
        {
            std::fill (inputBuffer.get() + inputFill, inputBuffer.get() + inputFill + reach, 0.0);
            usable += reach;
        }

        if (usable < 1)
            break;

        outputPending = filter (usable, factor, gain);

        // Keep the history the next outputs need, and nothing older.
        const int shift = (int) time - reach;
        time -= shift;
        inputFill -= shift;
        std::memmove (inputBuffer.get(), inputBuffer.get() + shift, (size_t) inputFill * sizeof (double));

        deliverPending (output, outputLength, delivered);

        if (outputPending > 0)
            break;
    }

    return delivered;
}

void Resampler::deliverPending (double* output, int outputLength, int& delivered)
{
    const int count = std::min (outputLength - delivered, outputPending);

    if (count <= 0)
        return;

    std::memcpy (output + delivered, outputBuffer.get(), (size_t) count * sizeof (double));
    delivered += count;
    outputPending -= count;
    std::memmove (outputBuffer.get(), outputBuffer.get() + count, (size_t) outputPending * sizeof (double));
}

//==============================================================================
// One wing of the upsampling filter straight from its polyphase row: the
// coefficients and their deltas are summed against the input side by side,
// and the fraction between table entries applied once at the end.
template <int direction>
double Resampler::polyphaseWing (double position, int limit, const double* x) const
{
    const int k = (int) std::floor (position);
    const double fraction = position - k;

    if (k >= limit)
        return 0.0;

    // Positions here are below two table periods, so the row and the first
    // column come by subtraction rather than by division.
    int rowIndex = k, column = 0;

    while (rowIndex >= rowStride)
    {
        rowIndex -= rowStride;
        ++column;
    }

    const int count = std::min (rowLength - column, (limit - k + rowStride - 1) / rowStride);
    const double* row = polyphaseRows.get() + 2 * ((size_t) rowIndex * (size_t) rowLength + (size_t) column);
    DoublePair a = {}, b = {};
    int j = 0;

    for (; j + 2 <= count; j += 2)
    {
        const double x0 = x[direction * j];
        const double x1 = x[direction * (j + 1)];
        a += loadPair (row + 2 * j) * DoublePair { x0, x0 };
        b += loadPair (row + 2 * j + 2) * DoublePair { x1, x1 };
    }

    if (j < count)
    {
        const double x0 = x[direction * j];
        a += loadPair (row + 2 * j) * DoublePair { x0, x0 };
    }

    const DoublePair sums = a + b;
    return sums[0] + sums[1] * fraction;
}

// Both filters make one output per `time` from its current value up to the
// end of the usable input, advancing by 1/factor. Upsampling walks the table
// a whole input period (tableResolution) per tap; downsampling stretches the
// filter by the factor, so its table step is factor x tableResolution.
int Resampler::filter (int usable, double factor, double gain)
{
    const bool up = factor >= 1.0;
    const double timeStep = 1.0 / factor;
    const double end = time + usable;
    int produced = 0;

    if (up && interpolateCoefficients != 0)
    {
        while (time < end && produced < outputCapacity)
        {
            const double whole = std::floor (time);
            const double phase = time - whole;
            const double* x = inputBuffer.get() + (int) whole;

            const double sum = polyphaseWing<-1> (phase * tableResolution, wingLength, x)
                             + polyphaseWing<1> ((1.0 - phase) * tableResolution, wingLength - 1, x + 1);

            outputBuffer[produced++] = sum * gain;
            time += timeStep;
        }

        return produced;
    }

    const double step = up ? (double) rowStride : std::min (tableResolution, factor * tableResolution);
    const double positionScale = up ? tableResolution : step;

    if (step != tapsStep)
    {
        tapsStep = step;
        tapsPhase = -1.0;
    }

    while (time < end && produced < outputCapacity)
    {
        const double whole = std::floor (time);
        const double phase = time - whole;

        if (phase != tapsPhase)
        {
            // Both wings in one run, the left one reversed so that it ends
            // where the right one begins: x[i-L+1] .. x[i] .. x[i+R]. The left
            // wing is made in the right half first, so the copy never overlaps.
            double* centre = taps.get() + maxTaps;
            leftTapCount = wingCoefficients (phase * positionScale, step, up, wingLength, centre);
            std::reverse_copy (centre, centre + leftTapCount, centre - leftTapCount);
            rightTapCount = wingCoefficients ((1.0 - phase) * positionScale, step, up, wingLength - 1, centre);
            tapsPhase = phase;
        }

        const double* x = inputBuffer.get() + (int) whole;
        const double sum = dot (taps.get() + maxTaps - leftTapCount, leftTapCount + rightTapCount, x + 1 - leftTapCount);

        outputBuffer[produced++] = sum * gain;
        time += timeStep;
    }

    return produced;
}

// The coefficients of one wing, from table position `position` on, a tap per
// `step` while below `limit` (at most maxTaps). Interpolated, the fraction of
// a fractional step is carried from tap to tap beside a whole index, so the
// index never drifts; uninterpolated, each tap takes the entry below it.
int Resampler::wingCoefficients (double position, double step, bool wholeSteps, int limit, double* out) const
{
    const double* pairs = coefficientPairs.get();
    int count = 0;

    if (interpolateCoefficients == 0)
    {
        if (wholeSteps)
        {
            for (int k = (int) position; k < limit && count < maxTaps; k += (int) step)
                out[count++] = pairs[2 * k];
        }
        else
        {
            for (double p = position; (int) p < limit && count < maxTaps; p += step)
                out[count++] = pairs[2 * (int) p];
        }

        return count;
    }

    const int wholeStep = (int) std::floor (step);
    const double fractionStep = step - wholeStep;
    int k = (int) std::floor (position);
    double fraction = position - k;

    while (k < limit && count < maxTaps)
    {
        out[count++] = pairs[2 * k] + pairs[2 * k + 1] * fraction;
        k += wholeStep;
        fraction += fractionStep;

        if (fraction > 1.0)
        {
            fraction -= 1.0;
            ++k;
        }
    }

    return count;
}
