// SPDX-License-Identifier: GPL-3.0-or-later
#include "Support/BlockWords.h"

namespace TestSupport
{

std::vector<uint8_t> BlockWords::bytesOf (std::initializer_list<uint32_t> words)
{
    std::vector<uint8_t> bytes;

    for (uint32_t w : words)
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back ((uint8_t) (w >> shift));

    return bytes;
}

uint32_t BlockWords::wordAt (const std::vector<uint8_t>& block, size_t index)
{
    const size_t at = index * 4;

    if (at + 4 > block.size())
        return 0xDEADBEEFu; // shows up plainly in a failed expectation

    return (uint32_t) block[at] | ((uint32_t) block[at + 1] << 8)
         | ((uint32_t) block[at + 2] << 16) | ((uint32_t) block[at + 3] << 24);
}

} // namespace TestSupport
