// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuorbelParamMap.h"
#include "TessarineData.h"

#include <cmath>
#include <cstring>

namespace Quorbel
{

namespace
{
using ParameterValue = QuorbelParamMap::ParameterValue;

// The map holds values at the precision the pedal stores them: integers
// truncated to 32 bits, floats narrowed to single precision.
ParameterValue narrowToKind (uint32_t kind, double value)
{
    if (kind == kindInteger)
        return { kind, (double) (int32_t) value };

    if (kind == kindFloat)
        return { kind, (double) (float) value };

    return { kind, 0.0 };
}

int decimalsForStep (double step)
{
    const int decimals = (int) std::ceil (-std::log10 (step));
    return decimals >= 10 ? 9 : (decimals < 0 ? 0 : decimals);
}

using Tessarine::TessarineData::floatFromWord;
using Tessarine::TessarineData::wordFromFloat;
} // namespace

QuorbelParamMap::QuorbelParamMap()
{
    for (const auto& row : parameterTable)
    {
        auto& info = entries[(int) row.paramId];
        info.id = (int) row.paramId;
        info.key = row.paramId;
        info.deviceParam = (uint16_t) row.paramId;
        info.scope = row.scope;
        info.kind = row.kind;
        info.taper = row.taper;
        info.units = row.units;
        info.displayScale = row.displayScale;
        info.min = narrowToKind (row.kind, row.min);
        info.max = narrowToKind (row.kind, row.max);
        info.defaultValue = narrowToKind (row.kind, row.defaultValue);
        info.decimals = decimalsForStep (row.step);
        info.valueNames.clear();

        if (row.valueNames != nullptr)
        {
            const long first = std::lround (row.min);

            for (long i = 0; row.valueNames[i] != nullptr; ++i)
                info.valueNames.push_back ({ row.valueNames[i], { kindInteger, (double) (first + i) } });
        }
    }
}

const QuorbelParamMap::ParameterInfo* QuorbelParamMap::find (int id) const
{
    const auto it = entries.find (id);
    return it == entries.end() ? nullptr : &it->second;
}

std::vector<const QuorbelParamMap::ParameterInfo*> QuorbelParamMap::getAll() const
{
    std::vector<const ParameterInfo*> all;
    all.reserve (entries.size());

    for (const auto& entry : entries)
        all.push_back (&entry.second);

    return all;
}

void QuorbelParamMap::validatePresetValues (std::map<uint32_t, uint32_t>& values) const
{
    std::map<uint32_t, uint32_t> validated;

    for (const auto& entry : entries)
    {
        const auto& info = entry.second;

        if (info.scope != scopePreset)
            continue;

        double value = info.defaultValue.value;
        const auto given = values.find (info.key);

        if (given != values.end())
        {
            const float f = floatFromWord (given->second);

            // NaN is neither below min nor above max, so clamping alone would
            // pass it to the pedal; it gets the default instead. Infinities and
            // huge values clamp below; rounding them first would overflow.
            if (std::isnan (f))
                value = info.defaultValue.value;
            else if (info.kind == kindFloat)
                value = f;
            else if (info.kind == kindInteger)
                value = std::fabs (f) < 1.0e9f ? (double) std::lroundf (f) : (double) f;
            else
                value = 0.0;
        }

        if (value < info.min.value)
            value = info.min.value;
        else if (value > info.max.value)
            value = info.max.value;

        validated[info.key] = wordFromFloat ((float) value);
    }

    values.swap (validated);
}

} // namespace Quorbel
