// SPDX-License-Identifier: GPL-3.0-or-later
// The backup bundle loader over arbitrary zip bytes.
#include "BackupArchive.h"
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    FuzzInput input (data, size);
    juce::ZipFile zip (new juce::MemoryInputStream (data, size, false), true);
    Tessarine::TessarineData::QuorbelArchive archive;
    BackupArchive::load (zip, archive);
    return 0;
}
