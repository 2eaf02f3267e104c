// SPDX-License-Identifier: GPL-3.0-or-later
// Opens the input as a resources.bin and reads every entry it indexes and every
// name the editor asks for.
#include "SkinDirectory.h"
#include "SkinImageTable.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    SkinDirectory directory ([data, size] (unsigned int offset, unsigned long length, void* destination) {
        if ((uint64_t) offset + length > size)
            return false;

        std::memcpy (destination, data + offset, length);
        return true;
    });

    directory.open();

    std::vector<uint8_t> out;

    for (const auto& entry : directory.getEntries())
        directory.readEntry (entry.first, out);

    for (uint32_t id = 0; id < SkinImageTable::kImageCount; ++id)
        directory.readEntry (SkinImageTable::getFileName (id), out);

    return 0;
}
