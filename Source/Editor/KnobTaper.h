// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "QuorbelParamMap.h"

namespace Quorbel
{

/** Maps a knob's normalised position (0..1) to a parameter value and back,
    logarithmically for a logarithmic taper and linearly otherwise.

    Both directions are guarded so that no position or value they return is NaN
    or infinite, whatever range the parameter description carries:
    - a range that is empty, reversed or not finite maps every value to
      position 0 and every position to the minimum;
    - a logarithmic taper over a range that does not lie wholly above zero
      (where the logarithm is undefined) maps linearly instead;
    - values are clamped into the range before mapping, and positions into
      0..1, so a value from the pedal outside the range cannot reach the
      logarithm of a negative number. */
class KnobTaper
{
public:
    /** Knob position for a parameter value, in 0..1. */
    static double toPosition (const QuorbelParamMap::ParameterInfo& info, double value);

    /** Parameter value for a knob position, within [min, max]. */
    static double toValue (const QuorbelParamMap::ParameterInfo& info, double position);

    KnobTaper() = delete;
};

} // namespace Quorbel
