// SPDX-License-Identifier: GPL-3.0-or-later
#include "PanelItemValues.h"

#include "TruncateToInt.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace Quorbel
{

juce::String PanelItemValues::formatValue (const QuorbelParamMap::ParameterInfo& info, double value)
{
    // The map keeps decimals in 0..9; a wider count would only make the
    // format longer, never safer.
    const int decimals = info.decimals < 0 ? 0 : (info.decimals > 9 ? 9 : info.decimals);

    char format[16];
    std::snprintf (format, sizeof (format), "%%.%df", decimals);

    const double shown = value * info.displayScale;

    // A huge value prints hundreds of digits: size the text instead of
    // cutting it at a fixed buffer.
    const int length = std::snprintf (nullptr, 0, format, shown);
    std::vector<char> text ((size_t) (length > 0 ? length : 0) + 1, '\0');
    std::snprintf (text.data(), text.size(), format, shown);

    juce::String result (text.data());

    if (info.units != nullptr)
        result << " " << juce::String::fromUTF8 (info.units);

    return result;
}

double PanelItemValues::parseTypedValue (const QuorbelParamMap::ParameterInfo& info, const juce::String& text)
{
    double number = text.getDoubleValue();

    // The framework's reader accepts "nan"; a NaN would pass any clamp and
    // reach the pedal.
    if (std::isnan (number))
        number = 0.0;

    // A display scale of zero (or worse) would divide 0 by 0; the number is
    // then taken as the value itself.
    const double scale = info.displayScale;
    double value = (std::isfinite (scale) && scale != 0.0) ? number / scale : number;

    const double min = info.min.value;
    const double max = info.max.value;

    if (value < min)
        value = min;
    else if (value > max)
        value = max;

    return value;
}

juce::String PanelItemValues::nameForValue (const QuorbelParamMap::ParameterInfo& info, double value)
{
    const int wanted = Tessarine::truncateToInt (value);

    for (const auto& entry : info.valueNames)
        if (Tessarine::truncateToInt (entry.value.value) == wanted)
            return juce::String::fromUTF8 (entry.name.c_str());

    return {};
}

int PanelItemValues::stepValue (const QuorbelParamMap::ParameterInfo& info, double current, int step)
{
    const int64_t low = Tessarine::truncateToInt (info.min.value);
    const int64_t high = Tessarine::truncateToInt (info.max.value);

    // 64 bits, so stepping past the end of the int range cannot overflow.
    int64_t next = (int64_t) Tessarine::truncateToInt (current) + step;

    if (next < low)
        next = low;
    else if (next > high)
        next = high;

    return (int) next;
}

int PanelItemValues::choiceValue (double choice)
{
    return Tessarine::truncateToInt (choice);
}

bool PanelItemValues::isChoiceOn (double choice, double value)
{
    return Tessarine::truncateToInt (value) == Tessarine::truncateToInt (choice);
}

} // namespace Quorbel
