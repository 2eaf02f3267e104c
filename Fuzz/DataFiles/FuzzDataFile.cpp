// SPDX-License-Identifier: GPL-3.0-or-later
// The segment container: anything the reader accepts must write and read back
// to the same file.
#include "FuzzInput.h"
#include "OutStreamWrapper.h"
#include "TessarineDataFile.h"

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    FuzzInput input (data, size);
    Tessarine::TessarineDataFile file (Tessarine::TessarineDataFile::PresetData, 0, 0);

    if (! file.read (input.stream))
        return 0;

    juce::MemoryOutputStream written;
    OutStreamWrapper out (written);
    FUZZ_REQUIRE (file.write (out));

    juce::MemoryInputStream again (written.getData(), written.getDataSize(), false);
    InStreamWrapper in (again);
    Tessarine::TessarineDataFile back (Tessarine::TessarineDataFile::GlobalsData, 0, 0);
    FUZZ_REQUIRE (back.read (in));
    FUZZ_REQUIRE (back.type == file.type && back.index == file.index && back.segments == file.segments);
    return 0;
}
