// SPDX-License-Identifier: GPL-3.0-or-later
#include "AmpModelSynth.h"

#include <cmath>
#include <cstring>

using namespace Tessarine::TessarineData;

namespace
{
constexpr double kSampleRate = 48000.0;
constexpr double kPi = 3.14159265358979323846;

/** SplitMix64: tiny, well mixed and identical everywhere. */
class Sequence
{
public:
    explicit Sequence (uint64_t seed) : state (seed * 0x9E3779B97F4A7C15ull + 0x7F4A7C15ull) {}

    double uniform()
    {
        state += 0x9E3779B97F4A7C15ull;
        uint64_t z = state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        return (double) (z >> 11) * (1.0 / 9007199254740992.0);
    }

    double between (double low, double high) { return low + (high - low) * uniform(); }

private:
    uint64_t state;
};

enum class Family
{
    BritishCrunch,
    AmericanClean,
    ChimeyClean,
    Bass,
    HighGain,
    PowerStage
};

Family familyOf (uint32_t ampId)
{
    if (ampId >= 990)
        return Family::PowerStage;
    if (ampId == 40 || ampId == 43)
        return Family::Bass;
    if (ampId == 30)
        return Family::ChimeyClean;
    if (ampId >= 20 && ampId < 30)
        return Family::AmericanClean;
    if (ampId < 20)
        return Family::BritishCrunch;
    return Family::HighGain;
}

const char* familyText (Family family)
{
    switch (family)
    {
        case Family::BritishCrunch: return "British crunch";
        case Family::AmericanClean: return "American clean";
        case Family::ChimeyClean:   return "Chimey clean";
        case Family::Bass:          return "Bass";
        case Family::HighGain:      return "High gain";
        case Family::PowerStage:    return "Power stage";
    }
    return "";
}

uint32_t bitsOf (float value)
{
    uint32_t bits;
    std::memcpy (&bits, &value, sizeof (bits));
    return bits;
}

void put (ParamMap& params, uint32_t id, double value)
{
    params[id] = bitsOf ((float) value);
}

/** Power tube: EL34 0, 6L6 1, EL84 2, KT88 3. */
int tubeTypeOf (uint32_t ampId, Family family)
{
    if (family == Family::PowerStage)
        return (int) (ampId - 990);
    if (family == Family::AmericanClean || family == Family::Bass)
        return 1;
    if (family == Family::ChimeyClean)
        return 2;
    return ampId >= 70 ? 1 : 0;
}

AmpData makeAmpData (const AmpModelDescription& d, Family family, Sequence& random)
{
    using P = AmpModelSynth::Parameter;

    double gainLow = 0.2, gainHigh = 0.5, stages = 2;
    int toneStack = 0;

    switch (family)
    {
        case Family::BritishCrunch: gainLow = 0.45; gainHigh = 0.7; stages = 3; toneStack = 0; break;
        case Family::AmericanClean: gainLow = 0.15; gainHigh = 0.35; stages = 2; toneStack = 1; break;
        case Family::ChimeyClean:   gainLow = 0.25; gainHigh = 0.45; stages = 2; toneStack = 2; break;
        case Family::Bass:          gainLow = 0.2; gainHigh = 0.4; stages = 2; toneStack = 1; break;
        case Family::HighGain:      gainLow = 0.7; gainHigh = 0.95; stages = 4; toneStack = 3; break;
        case Family::PowerStage:    gainLow = 0.0; gainHigh = 0.0; stages = 0; toneStack = 0; break;
    }

    AmpData data;
    ParamMap& p = data.params;
    put (p, P::InputTrim, random.between (-6.0, 0.0));
    put (p, P::PreampGain, random.between (gainLow, gainHigh));
    put (p, P::PreampStages, stages);
    put (p, P::PreampBias, random.between (-1.6, -0.8));
    put (p, P::BrightCap, family == Family::PowerStage ? 0.0 : std::floor (random.between (0.0, 2.0)));
    put (p, P::CouplingLowCut, family == Family::Bass ? random.between (12.0, 35.0) : random.between (40.0, 120.0));
    put (p, P::ToneBass, random.between (0.3, 0.7));
    put (p, P::ToneMid, random.between (0.3, 0.7));
    put (p, P::ToneTreble, random.between (0.3, 0.7));
    put (p, P::ToneStackType, toneStack);
    put (p, P::PowerDrive, random.between (0.2, 0.8));
    put (p, P::PowerTubeType, tubeTypeOf (d.ampId, family));
    put (p, P::NegativeFeedback, random.between (0.0, 0.5));
    put (p, P::Presence, random.between (0.3, 0.7));
    put (p, P::Resonance, random.between (0.3, 0.7));
    put (p, P::SagDepth, random.between (0.05, 0.4));
    put (p, P::SagTime, random.between (20.0, 120.0));
    put (p, P::OutputLevel, random.between (-12.0, -3.0));
    put (p, P::HighCut, random.between (5000.0, 9000.0));
    put (p, P::Asymmetry, random.between (0.0, 0.2));

    data.name = d.ampName;
    data.name2 = familyText (family);
    return data;
}

/** A guitar speaker as a few decaying resonances (the cone's low resonance, a
    presence peak, a breakup peak), smoothed by a one-pole low-pass and scaled
    to a peak of 0.8. `darkness` lowers the low-pass for the second channel. */
void makeSpeakerImpulse (Family family, Sequence& random, double darkness, float* out)
{
    struct Mode
    {
        double frequency, decaySamples, amplitude, phase;
    };

    const bool bass = family == Family::Bass;
    const Mode modes[] = {
        { bass ? random.between (45.0, 75.0) : random.between (80.0, 130.0), random.between (300.0, 500.0), 0.6, random.between (0.0, kPi) },
        { random.between (1800.0, 3500.0), random.between (30.0, 70.0), 0.8, random.between (0.0, kPi) },
        { bass ? random.between (2500.0, 3500.0) : random.between (4000.0, 6000.0), random.between (10.0, 25.0), 0.4, random.between (0.0, kPi) },
        { random.between (500.0, 900.0), random.between (60.0, 140.0), 0.5, random.between (0.0, kPi) },
    };

    const double cutoff = (bass ? 3500.0 : 6500.0) / darkness;
    const double smoothing = std::exp (-2.0 * kPi * cutoff / kSampleRate);

    double raw[kImpulseLength];
    double state = 0.0;
    double peak = 0.0;

    for (size_t n = 0; n < kImpulseLength; ++n)
    {
        double x = n == 0 ? 1.0 : 0.0;

        for (const Mode& m : modes)
            x += m.amplitude * std::exp (-(double) n / m.decaySamples) * std::sin (2.0 * kPi * m.frequency * (double) n / kSampleRate + m.phase);

        state = (1.0 - smoothing) * x + smoothing * state;
        raw[n] = state;
        peak = std::fmax (peak, std::fabs (state));
    }

    for (size_t n = 0; n < kImpulseLength; ++n)
        out[n] = (float) (0.8 * raw[n] / peak);
}

/** A gentle low-pass of a few taps adding up to one; the last tap takes up
    the rounding of the others, so the gain is one to single precision. */
void makeFinishingFilter (Sequence& random, FinishingFilterBlock& block)
{
    float taps[AmpModelSynth::kFinishingFilterTaps];
    const double spread = random.between (0.6, 1.4);
    double sum = 0.0;

    for (int k = 0; k < AmpModelSynth::kFinishingFilterTaps; ++k)
        sum += std::exp (-(double) k / spread);

    float total = 0.0f;

    for (int k = 0; k < AmpModelSynth::kFinishingFilterTaps - 1; ++k)
    {
        taps[k] = (float) (std::exp (-(double) k / spread) / sum);
        total += taps[k];
    }

    taps[AmpModelSynth::kFinishingFilterTaps - 1] = 1.0f - total;

    block.fill (0);

    for (int k = 0; k < AmpModelSynth::kFinishingFilterTaps; ++k)
        writeWord (block.data() + 4 * k, bitsOf (taps[k]));
}
} // namespace

Amp AmpModelSynth::make (const AmpModelDescription& description)
{
    const Family family = familyOf (description.ampId);
    Sequence random (description.ampId);

    Amp amp;
    amp.data = makeAmpData (description, family, random);
    amp.nameAndID.id = description.ampId;
    amp.nameAndID.name = description.ampName;

    ImpulseData impulse;
    Sequence speaker (description.ampId ^ 0x5A5A5A5Au);
    Sequence offAxis (description.ampId ^ 0x5A5A5A5Au);
    makeSpeakerImpulse (family, speaker, 1.0, impulse[0]);
    makeSpeakerImpulse (family, offAxis, 1.6, impulse[1]);
    encodeImpulse (amp.impulse.data(), impulse);

    makeFinishingFilter (random, amp.finishingFilter);
    amp.secondData.reset();
    return amp;
}
