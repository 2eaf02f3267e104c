// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Result.h"
#include "TessarineData.h"

namespace Tessarine
{
namespace TessarineData
{

/** Brings an older unit's preset parameters to the layout of its firmware
    6.2.0: presets saved by 2.5.1 or earlier (or without a version) have their
    single selectable section spread over the four newer sections. Every
    preset leaves stamped as 6.2.0. Always succeeds. */
Result upgradePresetParameters (Preset& preset);

} // namespace TessarineData
} // namespace Tessarine
