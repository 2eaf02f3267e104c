// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AmpModelCatalogue.h"
#include "TessarineData.h"

/** Makes the data of one built-in amp model from its description alone.

    Everything is derived from a pseudo-random sequence seeded by the amp
    identifier, so the same description always gives the same bytes: the amp
    block's parameters (within the ranges of the model's family), a
    speaker-like impulse for both channels (the second a little darker, like
    an off-axis microphone) and a short finishing filter whose taps add up to
    one, so it leaves the level unchanged.

    The arithmetic is plain IEEE double arithmetic (this library is built
    without floating-point contraction), so a test can make the same records
    again and compare them with the texts the build wrote.
*/
class AmpModelSynth
{
public:
    static Tessarine::TessarineData::Amp make (const AmpModelDescription& description);

    /** Amp-block parameter identifiers the models carry. */
    enum Parameter : uint32_t
    {
        InputTrim = 1,
        PreampGain,
        PreampStages,
        PreampBias,
        BrightCap,
        CouplingLowCut,
        ToneBass,
        ToneMid,
        ToneTreble,
        ToneStackType,
        PowerDrive,
        PowerTubeType,
        NegativeFeedback,
        Presence,
        Resonance,
        SagDepth,
        SagTime,
        OutputLevel,
        HighCut,
        Asymmetry,
        ParameterEnd
    };

    static constexpr int kFinishingFilterTaps = 6;
};
