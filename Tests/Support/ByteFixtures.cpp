// SPDX-License-Identifier: GPL-3.0-or-later
#include "Support/ByteFixtures.h"

namespace TestSupport
{

std::vector<uint8_t> countingBytes (size_t size, uint8_t start)
{
    std::vector<uint8_t> bytes (size);

    for (size_t i = 0; i < size; ++i)
        bytes[i] = (uint8_t) (start + i);

    return bytes;
}

} // namespace TestSupport
