// SPDX-License-Identifier: GPL-3.0-or-later
// Older unit's ".pre" files, including the parameter upgrade that follows.
#include "FuzzInput.h"
#include "TessarineDataFile.h"

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    FuzzInput input (data, size);
    Tessarine::TessarineData::Preset preset;

    if (Tessarine::TessarineDataFile::readPresetFile (input.stream, preset, nullptr))
        FUZZ_REQUIRE (preset.params.count (238) == 1 && preset.name.size() <= 16);

    return 0;
}
