// SPDX-License-Identifier: GPL-3.0-or-later
#include "PresetConversion.h"

#include <cmath>
#include <cstring>

namespace Tessarine
{
namespace TessarineData
{

namespace
{

/** One target key: copied from a source key (default when absent), or a
    constant when there is no source key. */
struct KeyRule
{
    uint32_t target;
    int source;      // -1: constant
    float value;     // default, or the constant
};

constexpr KeyRule kKeyRules[] = {
    { 0, 16, 0.0f }, { 1, 17, 0.0f }, { 2, 19, 0.5f }, { 3, 20, 0.5f }, { 4, 21, 0.0f }, { 5, -1, 0.0f },
    { 16, 62, 0.0f }, { 17, 63, 1.0f }, { 18, 61, 1.0f }, { 19, 65, 1000.0f }, { 20, 66, 0.707f }, { 21, 64, 0.0f },
    { 32, 68, 0.0f }, { 33, 69, 1.0f }, { 34, 67, 1.0f }, { 35, 71, 1000.0f }, { 36, 72, 0.707f }, { 37, 70, 0.0f },
    { 48, 74, 0.0f }, { 49, 75, 1.0f }, { 50, 73, 1.0f }, { 51, 77, 1000.0f }, { 52, 78, 0.707f }, { 53, 76, 0.0f },
    { 64, 43, 0.0f }, { 65, 266, -70.0f }, { 66, 267, 2.0f }, { 67, 268, 0.001f }, { 68, 269, 0.03f },
    { 97, 12, 30.0f }, { 98, 13, 0.707f }, { 99, 14, 0.0f }, { 100, 15, 0.0f }, { 101, 79, 0.0f },
    { 112, 1, 1.0f }, { 113, 8, 0.0f }, { 114, 9, 1.0f },
    { 128, 90, 0.0f }, { 129, 122, 0.0f }, { 130, 124, 0.0f }, { 131, 121, 0.0f }, { 132, 125, 2.0f }, { 133, 92, 0.0f },
    { 134, 126, 1.0f }, { 135, 93, 0.01f }, { 136, 94, 0.1f }, { 137, 127, 0.0f }, { 138, 128, 0.0f },
    { 144, 36, 0.0f }, { 145, 88, 0.0f }, { 146, 38, 0.5f }, { 147, 89, 0.5f }, { 148, 39, 0.5f }, { 149, 40, 0.5f },
    { 150, 42, 0.0f }, { 151, 81, 0.0f },
    { 160, 56, 0.0f }, { 161, 55, 1.0f }, { 162, 58, 500.0f }, { 163, 59, 0.707f }, { 164, 57, 0.0f }, { 165, 60, 30.0f },
    { 176, -1, 1.0f },
};

constexpr uint32_t kCabinetModeKey = 96;


// The source's float at `key`, or `fallback` when the key is absent.
float sourceValue (const ParamMap& params, uint32_t key, float fallback)
{
    const auto it = params.find (key);
    return it == params.end() ? fallback : floatFromWord (it->second);
}

void setFloat (ParamMap& params, uint32_t key, float value)
{
    params[key] = wordFromFloat (value);
}

// lround of a value it cannot represent (NaN, infinities, huge values from a
// damaged file) is unspecified; such a value counts as 0, as in the
// parameter upgrade, so the outcome does not depend on the C library.
long roundedOrZero (float value)
{
    if (! std::isfinite (value) || std::fabs (value) >= 4.0e18f)
        return 0;

    return std::lround (value);
}

// Limits a knob position to [0, 1]; anything not below 1 (a NaN too) is 1.
double knobLimited (double value)
{
    if (! (value < 1.0))
        value = 1.0;

    if (! (value > 0.0))
        value = 0.0;

    return value;
}

void setEmptyCabinet (Cabinet& cabinet)
{
    cabinet = Cabinet();
    cabinet.name = "None";
}

void convertEcoBlock (const ParamMap& source, ParamMap& target)
{
    const long mode = roundedOrZero (sourceValue (source, 29, 0.0f));

    if (mode < 1)
        return;

    setFloat (target, 192, sourceValue (source, 30, 0.0f));
    setFloat (target, 193, (float) (mode - 1));

    float feedback = sourceValue (source, 32, 0.375f);
    if (feedback > 1.365f)
        feedback = 1.365f;
    if (feedback < 0.001f)
        feedback = 0.001f;
    setFloat (target, 194, feedback);

    setFloat (target, 195, sourceValue (source, 33, 0.5f));

    // Two levels of the older unit (key 80, and key 31 counted twice) become
    // a balance and the larger of the two.
    const float a = sourceValue (source, 80, -12.0f);
    const float b = sourceValue (source, 31, -12.0f) + sourceValue (source, 31, 0.0f);

    if (a >= b)
    {
        setFloat (target, 196, 0.5f * std::pow (10.0f, (b - a) / 20.0f));
        setFloat (target, 197, a);
    }
    else
    {
        setFloat (target, 196, 1.0f - 0.5f * std::pow (10.0f, (a - b) / 12.0f));
        setFloat (target, 197, b);
    }
}

void convertKnobs (const ParamMap& source, double* knobs)
{
    knobs[0] = sourceValue (source, 3, 0.5f);
    knobs[1] = sourceValue (source, 4, 0.5f);
    knobs[2] = sourceValue (source, 5, 0.5f);
    knobs[3] = sourceValue (source, 6, 0.5f);
    knobs[4] = sourceValue (source, 2, 0.5f);
    knobs[5] = sourceValue (source, 7, 0.5f);
    knobs[6] = knobLimited (std::sqrt (std::pow (10.0, sourceValue (source, 37, -40.0f) / 20.0)));
    knobs[7] = knobLimited ((std::sqrt (std::pow (10.0, sourceValue (source, 8, 0.0f) / 20.0)) - 0.1) / 0.9);
}

} // namespace

Result convertPreset (const Preset& source, FullQuorbelPreset& target, bool* useAmpCabinet, double* knobValues)
{
    const ParamMap& in = source.params;
    ParamMap& out = target.params;
    out.clear();

    for (const KeyRule& rule : kKeyRules)
        setFloat (out, rule.target, rule.source < 0 ? rule.value : sourceValue (in, (uint32_t) rule.source, rule.value));

    convertEcoBlock (in, out);

    if (knobValues != nullptr)
        convertKnobs (in, knobValues);

    // Key 11 chooses the cabinet: -1 and -2 the amp model's own, -4 the
    // preset's user cabinet; anything else none.
    bool ampCabinet = false;
    const long cabinetMode = roundedOrZero (sourceValue (in, 11, -3.0f));

    if (cabinetMode == -1 || cabinetMode == -2)
    {
        setFloat (out, kCabinetModeKey, 1.0f);
        ampCabinet = true;
        setEmptyCabinet (target.cab);
    }
    else if (cabinetMode == -4)
    {
        setFloat (out, kCabinetModeKey, 1.0f);

        if (source.cab != nullptr)
            target.cab = *source.cab;
        else
            setEmptyCabinet (target.cab);
    }
    else
    {
        setFloat (out, kCabinetModeKey, 0.0f);
        setEmptyCabinet (target.cab);
    }

    if (useAmpCabinet != nullptr)
        *useAmpCabinet = ampCabinet;

    target.amp.id = (uint32_t) roundedOrZero (sourceValue (in, 0, 0.0f));
    target.amp.name = "not loaded";

    return kSuccess;
}

} // namespace TessarineData
} // namespace Tessarine
