// SPDX-License-Identifier: GPL-3.0-or-later
#include "KnobTaper.h"

#include <cmath>

namespace Quorbel
{

namespace
{
bool hasUsableRange (double min, double max)
{
    return std::isfinite (min) && std::isfinite (max) && max > min;
}

bool mapsLogarithmically (const QuorbelParamMap::ParameterInfo& info)
{
    return info.taper == taperLogarithmic && info.min.value > 0.0;
}

// NaN, which every comparison fails, comes out as `low`.
double clampTo (double value, double low, double high)
{
    return ! (value >= low) ? low : (value > high ? high : value);
}
} // namespace

double KnobTaper::toPosition (const QuorbelParamMap::ParameterInfo& info, double value)
{
    const double min = info.min.value;
    const double max = info.max.value;

    if (! hasUsableRange (min, max) || std::isnan (value))
        return 0.0;

    value = clampTo (value, min, max);

    const double position = mapsLogarithmically (info) ? (std::log (value) - std::log (min)) / (std::log (max) - std::log (min))
                                                       : (value - min) / (max - min);
    return clampTo (position, 0.0, 1.0);
}

double KnobTaper::toValue (const QuorbelParamMap::ParameterInfo& info, double position)
{
    const double min = info.min.value;
    const double max = info.max.value;

    if (! hasUsableRange (min, max))
        return std::isfinite (min) ? min : 0.0;

    position = std::isnan (position) ? 0.0 : clampTo (position, 0.0, 1.0);

    const double value = mapsLogarithmically (info) ? std::exp (std::log (min) + position * (std::log (max) - std::log (min)))
                                                    : min + position * (max - min);

    // exp and log round; a rounding past either end must not leave the range.
    return clampTo (value, min, max);
}

} // namespace Quorbel
