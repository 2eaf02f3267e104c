// SPDX-License-Identifier: GPL-3.0-or-later
#include "PresetParameterUpgrade.h"

#include <cmath>
#include <cstring>

namespace Tessarine
{
namespace TessarineData
{

namespace
{
constexpr uint32_t kVersionKey = 238;
constexpr uint32_t kLastOldLayout = 0x20501;   // 2.5.1
constexpr uint32_t kNoVersion = 0xFFFFFFFFu;   // stored as -1.0
constexpr float kUpgradedVersion = 393728.0f;  // 6.2.0

float floatAt (const ParamMap& params, uint32_t key)
{
    const auto it = params.find (key);

    if (it == params.end())
        return 0.0f;

    return TessarineData::floatFromWord (it->second);
}

void setFloat (ParamMap& params, uint32_t key, float value)
{
    params[key] = TessarineData::wordFromFloat (value);
}

// lround of a value it cannot represent is unspecified; such a value counts
// as 0 here (no version, section type 0) so the outcome does not depend on
// the C library.
long roundedOrZero (float value)
{
    if (! std::isfinite (value) || std::fabs (value) >= 4.0e18f)
        return 0;

    return std::lround (value);
}
} // namespace

Result upgradePresetParameters (Preset& preset)
{
    ParamMap& params = preset.params;
    const auto version = (uint32_t) roundedOrZero (floatAt (params, kVersionKey));

    if (version <= kLastOldLayout || version == kNoVersion)
    {
        // Every old value is read from the map as it was on entry.
        const float k25 = floatAt (params, 25);
        const float k26 = floatAt (params, 26);
        const float k27 = floatAt (params, 27);
        const float k28 = floatAt (params, 28);
        const float k95 = floatAt (params, 95);
        const float k112 = floatAt (params, 112);
        const auto type = (uint32_t) roundedOrZero (floatAt (params, 22));
        const float on = (int32_t) roundedOrZero (floatAt (params, 23)) != 0 ? 1.0f : 0.0f;

        for (uint32_t key : { 161u, 184u, 198u, 211u })
            setFloat (params, key, 0.0f);

        switch (type)
        {
            case 0:  setFloat (params, 211, on); setFloat (params, 23, 16.0f); break;
            case 1:  setFloat (params, 161, on); setFloat (params, 23, 2.0f); break;
            case 2:  setFloat (params, 184, on); setFloat (params, 23, 4.0f); break;
            case 3:  setFloat (params, 198, on); setFloat (params, 23, 8.0f); break;
            default: setFloat (params, 23, 2.0f); break;
        }

        const struct { uint32_t key; float value; } table[] = {
            { 162, k25 }, { 163, k112 }, { 164, 1.0f }, { 165, k26 }, { 166, k27 },
            { 167, 0.03f * k95 },
            { 168, ::powf (10.0f, 2.0f * k28 + 1.4771212f) },
            { 169, 20000.0f }, { 170, 2.0f }, { 171, 1.0f }, { 172, 0.0f }, { 173, -1.0f },
            { 174, 0.0f }, { 175, 0.0f }, { 176, 1.0f }, { 177, 90.0f }, { 178, -120.0f },
            { 179, -1.0f }, { 180, 180.0f }, { 181, -120.0f }, { 182, 1.0f }, { 183, 270.0f },
            { 185, k25 }, { 186, k112 }, { 187, 1.0f }, { 188, 0.01f * k95 }, { 189, k26 },
            { 190, k27 }, { 191, k28 }, { 192, 1.0f }, { 193, 0.0f }, { 194, 0.5f },
            { 195, 0.0f }, { 196, 0.0f }, { 197, 0.0f }, { 199, k25 }, { 200, 1.0f },
            { 201, 1.0f }, { 202, k26 }, { 203, k27 }, { 204, k28 }, { 205, 0.0f },
            { 206, 0.5f }, { 207, 0.0f }, { 208, 1.0f },
            { 209, ::powf (10.0f, 0.6019101f * k95 + 2.1607685f) },
            { 210, 1.0f }, { 212, k25 }, { 213, k26 }, { 214, k27 }, { 215, k95 },
            { 216, 0.5f }, { 217, 0.0f }, { 218, k28 }, { 219, 0.5f },
        };

        for (const auto& entry : table)
            setFloat (params, entry.key, entry.value);
    }

    setFloat (params, kVersionKey, kUpgradedVersion);
    return kSuccess;
}

} // namespace TessarineData
} // namespace Tessarine
