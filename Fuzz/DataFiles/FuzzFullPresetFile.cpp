// SPDX-License-Identifier: GPL-3.0-or-later
// Full preset files: an accepted file that fits a preset block writes and reads
// back to the same preset.
#include "FuzzInput.h"
#include "OutStreamWrapper.h"
#include "TessarineDataFile.h"

#include <cstring>

using namespace Tessarine;

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    FuzzInput input (data, size);
    TessarineData::FullQuorbelPreset preset;
    uint32_t index = 0;

    if (! TessarineDataFile::readFullPresetFile (input.stream, preset, &index))
        return 0;

    juce::MemoryOutputStream written;
    OutStreamWrapper out (written);
    const bool fits = preset.params.size() <= TessarineData::kParamPairsCapacity;
    FUZZ_REQUIRE ((bool) TessarineDataFile::writeFullPresetFile (preset, out, index) == fits);

    if (! fits)
        return 0;

    juce::MemoryInputStream again (written.getData(), written.getDataSize(), false);
    InStreamWrapper in (again);
    TessarineData::FullQuorbelPreset back;
    uint32_t backIndex = 0;
    FUZZ_REQUIRE (TessarineDataFile::readFullPresetFile (in, back, &backIndex));
    FUZZ_REQUIRE (backIndex == index && back.params == preset.params);
    FUZZ_REQUIRE (back.cab.name == preset.cab.name && back.amp.name == preset.amp.name && back.amp.id == preset.amp.id);
    FUZZ_REQUIRE (std::memcmp (back.cab.impulse, preset.cab.impulse, sizeof (preset.cab.impulse)) == 0);
    return 0;
}
