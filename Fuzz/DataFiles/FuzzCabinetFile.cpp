// SPDX-License-Identifier: GPL-3.0-or-later
// User cabinet files.
#include "FuzzInput.h"
#include "TessarineDataFile.h"

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    FuzzInput input (data, size);
    Tessarine::TessarineData::Cabinet cabinet;
    uint32_t index = 0;

    if (Tessarine::TessarineDataFile::readCabinetFile (input.stream, cabinet, &index))
        FUZZ_REQUIRE (cabinet.name.size() <= 15);

    return 0;
}
