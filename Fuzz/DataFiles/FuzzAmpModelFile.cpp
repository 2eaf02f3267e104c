// SPDX-License-Identifier: GPL-3.0-or-later
// Amp-model files (the built-in amp texts use this reader).
#include "FuzzInput.h"
#include "TessarineDataFile.h"

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    FuzzInput input (data, size);
    Tessarine::TessarineData::Amp amp;
    uint32_t index = 0;

    if (Tessarine::TessarineDataFile::readAmpModelFile (input.stream, amp, &index))
        FUZZ_REQUIRE (amp.data.params.size() <= Tessarine::TessarineData::kLongParamListCapacity
                      && amp.data.name.size() <= 255 && amp.nameAndID.name.size() <= 16);

    return 0;
}
