// SPDX-License-Identifier: GPL-3.0-or-later
#include "Resampler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <type_traits>
#include <vector>

namespace
{

// The importer's settings.
std::unique_ptr<Resampler> makeResampler (int interpolate = 1)
{
    return std::make_unique<Resampler> (35, interpolate, 1.0 / 12.0, 12.0, 4096.0);
}

constexpr int kWing = 69632; // (35 - 1) x 4096 / 2
constexpr int kReach = 226;  // 18 x 12 + 10

// Entry i of the filter table, straight from its definition: a sinc lowpass
// at 0.9 of Nyquist under a Kaiser window (beta 6) spanning the wing.
double tableEntry (double i)
{
    if (i >= kWing)
        return 0.0;

    const double x = i / (kWing - 1);
    const double window = Resampler::besselI0 (6.0 * std::sqrt (1.0 - x * x)) / Resampler::besselI0 (6.0);

    if (i == 0)
        return 0.9 * window;

    const double t = 3.141592653589793 * i / 4096.0;
    return std::sin (0.9 * t) * window / t;
}

// The table read at a fractional position the way the interpolating filter
// reads it: linearly between neighbouring entries.
double interpolatedEntry (double position)
{
    const double k = std::floor (position);
    return tableEntry (k) + (tableEntry (k + 1) - tableEntry (k)) * (position - k);
}

/** Runs a whole block through in one call with room for everything. */
std::vector<double> convertWhole (Resampler& r, const std::vector<double>& input, double factor)
{
    std::vector<double> output ((size_t) (input.size() * factor) + 64);
    int used = 0;
    const int count = r.process (input.data(), (int) input.size(), 1, &used, output.data(), (int) output.size(), factor);
    EXPECT_EQ (used, (int) input.size());
    output.resize ((size_t) std::max (count, 0));
    return output;
}

std::vector<double> unitImpulse (size_t length)
{
    std::vector<double> x (length, 0.0);
    x[0] = 1.0;
    return x;
}

std::vector<double> noise (size_t length, unsigned seed)
{
    std::mt19937 generator (seed);
    std::uniform_real_distribution<double> uniform (-1.0, 1.0);
    std::vector<double> x (length);
    for (double& v : x)
        v = uniform (generator);
    return x;
}

} // namespace

static_assert (! std::is_copy_constructible<Resampler>::value && ! std::is_copy_assignable<Resampler>::value,
               "a Resampler owns raw buffers");

TEST (BesselI0, MatchesKnownValuesOnBothSidesOfTheSeam)
{
    EXPECT_EQ (Resampler::besselI0 (0.0), 1.0);
    // I0 by its power series; the polynomial fits are good to about 2e-7.
    const struct { double x, i0; } known[] = {
        { 1.0, 1.2660658777520082 }, { 3.7, 8.738617524169396 }, { 3.75, 9.118945860844565 },
        { 6.0, 67.23440697647796 }, { 10.0, 2815.716628466255 },
    };

    for (const auto& k : known)
    {
        EXPECT_NEAR (Resampler::besselI0 (k.x) / k.i0, 1.0, 2e-7) << k.x;
        EXPECT_EQ (Resampler::besselI0 (-k.x), Resampler::besselI0 (k.x));
    }
}

TEST (Resampler, FactorOneReturnsTheTableAtWholeInputPeriods)
{
    auto r = makeResampler();
    const std::vector<double> out = convertWhole (*r, unitImpulse (40), 1.0);
    ASSERT_EQ (out.size(), 40u);
    EXPECT_DOUBLE_EQ (out[0], 0.9);

    for (size_t k = 0; k < out.size(); ++k)
        EXPECT_NEAR (out[k], tableEntry (k * 4096.0), 1e-12) << k;

    EXPECT_EQ (out[17], 0.0); // the wing ends before 17 x 4096
}

TEST (Resampler, UpsamplingInterpolatesBetweenTableEntriesOrTakesTheLowerOne)
{
    // At factor 3 the outputs fall at thirds of an input period, between entries.
    auto interpolating = makeResampler (1);
    auto plain = makeResampler (0);
    const std::vector<double> a = convertWhole (*interpolating, unitImpulse (12), 3.0);
    const std::vector<double> b = convertWhole (*plain, unitImpulse (12), 3.0);
    ASSERT_GE (a.size(), 36u);
    ASSERT_GE (b.size(), 36u);

    for (int m = 0; m < 12; ++m)
    {
        for (int third = 0; third < 3; ++third)
        {
            // Output 3m + third lies `third` thirds past input m; the impulse
            // is m input periods to its left.
            const double position = (third / 3.0 + m) * 4096.0;
            EXPECT_NEAR (a[(size_t) (3 * m + third)], interpolatedEntry (position), 1e-9) << m << "/" << third;

            // (On whole periods the summed thirds may land a hair either side.)
            if (third != 0)
            {
                EXPECT_NEAR (b[(size_t) (3 * m + third)], tableEntry (std::floor (position)), 1e-9) << m << "/" << third;
            }
        }
    }
}

TEST (Resampler, DownsamplingStretchesTheFilterAndScalesByTheFactor)
{
    // At factor 0.4 the table step is 1638.4: the fraction is carried from tap
    // to tap, and every output lands on a whole multiple of 4096.
    for (double factor : { 0.5, 0.4, 0.25, 1.0 / 12.0 })
    {
        auto r = makeResampler();
        const std::vector<double> out = convertWhole (*r, unitImpulse (100), factor);

        for (size_t m = 0; m < 20 && m < out.size(); ++m)
            EXPECT_NEAR (out[m], factor * tableEntry (m * 4096.0), 1e-9) << factor << " " << m;
    }

    // Without interpolation too, where the steps are exact.
    for (double factor : { 0.5, 0.25 })
    {
        auto r = makeResampler (0);
        const std::vector<double> out = convertWhole (*r, unitImpulse (100), factor);

        for (size_t m = 0; m < 20 && m < out.size(); ++m)
            EXPECT_NEAR (out[m], factor * tableEntry (m * 4096.0), 1e-12) << factor << " " << m;
    }
}

TEST (Resampler, ConstantInputSettlesAtAboutOneWhenDownsampling)
{
    auto r = makeResampler();
    const std::vector<double> out = convertWhole (*r, std::vector<double> (4000, 1.0), 0.5);
    ASSERT_EQ (out.size(), 2000u);

    // Away from both ends (where the zeros around the block reach in).
    for (size_t i = 100; i < 1900; ++i)
        ASSERT_NEAR (out[i], 1.0, 2e-3) << i;
}

TEST (Resampler, OutputLengthForEveryImportRateAndTheCap)
{
    const int rates[] = { 44100, 48000, 88200, 96000, 176400, 192000 };

    for (int rate : rates)
    {
        const double factor = 48000.0 / rate;
        auto r = makeResampler();
        std::vector<double> output (2000);
        int used = 0;
        const std::vector<double> input = noise (700, 1);

        const int count = r->process (input.data(), 700, 1, &used, output.data(), 2000, factor);
        EXPECT_EQ (count, (int) std::ceil (700 * factor)) << rate;
        EXPECT_EQ (used, 700);

        // A long block delivers exactly what fits.
        r->reset();
        used = 0;
        const std::vector<double> longInput = noise (5000, 2);
        EXPECT_EQ (r->process (longInput.data(), 5000, 1, &used, output.data(), 1024, factor), 1024) << rate;
    }
}

TEST (Resampler, WithoutLastTheTailWaitsForMoreInput)
{
    const std::vector<double> input = noise (1000, 3);
    auto r = makeResampler();
    std::vector<double> output (2000);
    int used = 0;

    // Outputs need `reach` samples of future input; the rest waits.
    const int first = r->process (input.data(), 1000, 0, &used, output.data(), 2000, 1.0);
    EXPECT_EQ (first, 1000 - kReach);
    EXPECT_EQ (used, 1000);

    const int rest = r->process (input.data(), 1000, 1, &used, output.data() + first, 2000 - first, 1.0);
    EXPECT_EQ (first + rest, 1000);

    auto whole = makeResampler();
    const std::vector<double> expected = convertWhole (*whole, input, 1.0);
    for (size_t i = 0; i < 1000; ++i)
        ASSERT_EQ (output[i], expected[i]) << i;
}

TEST (Resampler, StreamingInPiecesEqualsOneCall)
{
    const std::vector<double> input = noise (20000, 4);

    for (double factor : { 48000.0 / 44100.0, 48000.0 / 88200.0, 0.25, 12.0 / 4.4 })
    {
        auto one = makeResampler();
        const std::vector<double> expected = convertWhole (*one, input, factor);

        for (int outputRoom : { 1, 37, 1000 })
        {
            SCOPED_TRACE (testing::Message() << "factor " << factor << ", room " << outputRoom);
            auto r = makeResampler();
            std::vector<double> produced;
            std::vector<double> room ((size_t) outputRoom);
            size_t offered = 0;
            int calls = 0;

            // Input arrives in pieces of 777 samples; each call delivers at most
            // `outputRoom` samples, and input is only taken once nothing waits.
            for (;;)
            {
                ASSERT_LT (++calls, 200000);
                const size_t piece = std::min<size_t> (777, input.size() - offered);
                const bool last = offered + piece == input.size();
                int used = 0;
                const int count = r->process (input.data() + offered, (int) piece, last ? 1 : 0, &used, room.data(), outputRoom, factor);
                ASSERT_GE (count, 0);
                ASSERT_LE (count, outputRoom);

                produced.insert (produced.end(), room.begin(), room.begin() + count);
                offered += (size_t) used;

                if (last && used == (int) piece && count == 0)
                    break;
            }

            // The flush at the end runs up to the input's end plus the time
            // fraction the final pass starts with, so how the input was cut
            // can add or drop one output there; everything before matches.
            const size_t common = std::min (produced.size(), expected.size());
            EXPECT_LE (std::max (produced.size(), expected.size()) - common, 1u);
            EXPECT_GE (common, (size_t) (input.size() * factor));

            // Output times are running sums of 1/factor, rounded at whatever
            // magnitude they have between the buffer shifts, so cutting the
            // input differently moves them by a few 1e-12 of a sample over
            // 20000 samples. A step that is exact in binary leaves no trace.
            const double tolerance = factor == 0.25 ? 0.0 : 1e-7;

            for (size_t i = 0; i < common; ++i)
                ASSERT_NEAR (produced[i], expected[i], tolerance) << i;
        }
    }
}

TEST (Resampler, FactorsOutsideTheLimitsAreRefusedWithoutSideEffects)
{
    auto r = makeResampler();
    const std::vector<double> input = noise (500, 5);
    std::vector<double> out (10000);
    int used = 0;

    for (double factor : { 0.08, 12.5, 0.0, -1.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity() })
    {
        EXPECT_EQ (r->process (input.data(), 500, 1, &used, out.data(), 10000, factor), -1) << factor;
        EXPECT_EQ (used, 0);
    }

    // The limits themselves are accepted, and the refusals left no trace.
    EXPECT_EQ (r->process (input.data(), 500, 1, &used, out.data(), 10000, 12.0), 6000);
    auto fresh = makeResampler();
    int freshUsed = 0;
    std::vector<double> freshOut (10000);
    fresh->process (input.data(), 500, 1, &freshUsed, freshOut.data(), 10000, 12.0);
    EXPECT_EQ (out, freshOut);

    r->reset();
    used = 0;
    EXPECT_EQ (r->process (input.data(), 500, 1, &used, out.data(), 10000, 1.0 / 12.0), 42);
}

TEST (Resampler, ResetStartsANewSignalEvenWithOutputWaiting)
{
    const std::vector<double> block = noise (3000, 6);
    auto fresh = makeResampler();
    const std::vector<double> expected = convertWhole (*fresh, block, 48000.0 / 96000.0);

    auto r = makeResampler();
    std::vector<double> small (10);
    int used = 0;
    const std::vector<double> other = noise (3000, 7);
    ASSERT_EQ (r->process (other.data(), 3000, 0, &used, small.data(), 10, 0.5), 10); // leaves output waiting
    r->reset();

    EXPECT_EQ (convertWhole (*r, block, 0.5), expected);
}
