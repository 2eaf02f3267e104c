// SPDX-License-Identifier: GPL-3.0-or-later
// Globals files: an accepted map that fits the globals block round-trips.
#include "FuzzInput.h"
#include "OutStreamWrapper.h"
#include "TessarineDataFile.h"

using namespace Tessarine;

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    FuzzInput input (data, size);
    TessarineData::ParamMap globals;

    if (! TessarineDataFile::readGlobalsFile (input.stream, globals))
        return 0;

    juce::MemoryOutputStream written;
    OutStreamWrapper out (written);
    const bool fits = globals.size() <= TessarineData::kParamListCapacity;
    FUZZ_REQUIRE ((bool) TessarineDataFile::writeGlobalsFile (globals, out) == fits);

    if (fits)
    {
        juce::MemoryInputStream again (written.getData(), written.getDataSize(), false);
        InStreamWrapper in (again);
        TessarineData::ParamMap back;
        FUZZ_REQUIRE (TessarineDataFile::readGlobalsFile (in, back) && back == globals);
    }

    return 0;
}
