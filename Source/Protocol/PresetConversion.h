// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Result.h"
#include "TessarineData.h"

namespace Tessarine
{
namespace TessarineData
{

/** The number of knob values convertPreset reports (for the pedal's live
    knob parameters 80 to 87). */
constexpr int kConvertedKnobCount = 8;

/** Turns a preset of the older, larger unit (read from a ".pre" file and
    already upgraded) into a preset of this pedal: its parameter map from the
    older unit's keys, its cabinet, and the amp identifier (with the name "not
    loaded"; the caller completes the amp from its built-in models).

    useAmpCabinet receives whether the preset asks for the amp model's own
    cabinet; knobValues (may be null) receives kConvertedKnobCount values.
    The target's ampData and finishingFilter are left as they are. Always
    succeeds. */
Result convertPreset (const Preset& source, FullQuorbelPreset& target, bool* useAmpCabinet, double* knobValues);

} // namespace TessarineData
} // namespace Tessarine
