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
} // namespace

Resampler::Resampler (int filterSpan, int interpolate, double minimumFactor, double maximumFactor, double resolution)
    : tableResolution (resolution),
      interpolateCoefficients (interpolate),
      minFactor (minimumFactor),
      maxFactor (maximumFactor)
{
    wingLength = (int) ((filterSpan - 1) * tableResolution * 0.5);
    coefficients = allocate (wingLength);
    coefficientDeltas = allocate (wingLength);
    designLowpass (coefficients.get(), wingLength, kRolloff, kKaiserBeta);

    // The last delta takes the filter to zero just past the end of the wing.
    for (int i = 0; i + 1 < wingLength; ++i)
        coefficientDeltas[i] = coefficients[i + 1] - coefficients[i];

    if (wingLength > 0)
        coefficientDeltas[wingLength - 1] = -coefficients[wingLength - 1];

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

        outputPending = factor >= 1.0 ? filterUp (usable, factor, gain)
                                      : filterDown (usable, factor, gain);

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
int Resampler::filterUp (int usable, double factor, double gain)
{
    const double step = 1.0 / factor;
    const double end = time + usable;
    int produced = 0;

    while (time < end && produced < outputCapacity)
    {
        const double whole = std::floor (time);
        const double phase = time - whole;
        const double* x = inputBuffer.get() + (int) whole;

        const double sum = upWing (x, -1, phase * tableResolution, wingLength)
                         + upWing (x + 1, 1, (1.0 - phase) * tableResolution, wingLength - 1);

        outputBuffer[produced++] = sum * gain;
        time += step;
    }

    return produced;
}

int Resampler::filterDown (int usable, double factor, double gain)
{
    const double step = 1.0 / factor;
    const double tableStep = std::min (tableResolution, factor * tableResolution);
    const double end = time + usable;
    int produced = 0;

    while (time < end && produced < outputCapacity)
    {
        const double whole = std::floor (time);
        const double phase = time - whole;
        const double* x = inputBuffer.get() + (int) whole;

        const double sum = downWing (x, -1, phase * tableStep, tableStep, wingLength)
                         + downWing (x + 1, 1, (1.0 - phase) * tableStep, tableStep, wingLength - 1);

        outputBuffer[produced++] = sum * gain;
        time += step;
    }

    return produced;
}

// One wing when every input sample moves a whole table period: the fraction
// between table entries is the same for every tap.
double Resampler::upWing (const double* x, int direction, double position, int limit) const
{
    const int stride = std::max (1, (int) tableResolution);
    const double* c = coefficients.get();
    double sum = 0.0;

    if (interpolateCoefficients != 0)
    {
        const double* d = coefficientDeltas.get();
        int k = (int) std::floor (position);
        const double fraction = position - k;

        for (; k < limit; k += stride, x += direction)
            sum += (c[k] + d[k] * fraction) * *x;
    }
    else
    {
        for (int k = (int) position; k < limit; k += stride, x += direction)
            sum += c[k] * *x;
    }

    return sum;
}

// One wing of the stretched filter: the table step is fractional, so the
// interpolated path keeps index and fraction apart to avoid drift.
double Resampler::downWing (const double* x, int direction, double position, double step, int limit) const
{
    const double* c = coefficients.get();
    double sum = 0.0;

    if (interpolateCoefficients != 0)
    {
        const double* d = coefficientDeltas.get();
        const int wholeStep = (int) std::floor (step);
        const double fractionStep = step - wholeStep;
        int k = (int) std::floor (position);
        double fraction = position - k;

        while (k < limit)
        {
            sum += (c[k] + d[k] * fraction) * *x;
            x += direction;
            k += wholeStep;
            fraction += fractionStep;

            if (fraction > 1.0)
            {
                fraction -= 1.0;
                ++k;
            }
        }
    }
    else
    {
        for (double p = position; (int) p < limit; p += step, x += direction)
            sum += c[(int) p] * *x;
    }

    return sum;
}
