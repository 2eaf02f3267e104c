// SPDX-License-Identifier: GPL-3.0-or-later
// The firmware-version text: whatever it reads writes and reads back the same.
#include "FuzzInput.h"
#include "OutStreamWrapper.h"
#include "TessarineDataFile.h"

using namespace Tessarine;

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    FuzzInput input (data, size);
    TessarineData::FirmwareVersionInfo versions;

    if (! TessarineDataFile::readVersionFile (input.stream, versions))
        return 0;

    FUZZ_REQUIRE (versions.kind == -1 && versions.system[3] == 0 && versions.dsp[3] == 0);

    juce::MemoryOutputStream written;
    OutStreamWrapper out (written);
    FUZZ_REQUIRE (TessarineDataFile::writeVersionFile (versions, out));

    juce::MemoryInputStream again (written.getData(), written.getDataSize(), false);
    InStreamWrapper in (again);
    TessarineData::FirmwareVersionInfo back;
    FUZZ_REQUIRE (TessarineDataFile::readVersionFile (in, back));
    FUZZ_REQUIRE (back.system == versions.system && back.dsp == versions.dsp);
    return 0;
}
