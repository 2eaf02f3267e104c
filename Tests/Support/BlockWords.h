// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace TestSupport
{

/** Readable assertions over blocks of little-endian 32-bit words (byte
    dumps are Hex.h's). */
struct BlockWords
{
    /** The bytes of these words, each little-endian. */
    static std::vector<uint8_t> bytesOf (std::initializer_list<uint32_t> words);

    /** Word `index` of a block (byte offset 4 * index). */
    static uint32_t wordAt (const std::vector<uint8_t>& block, size_t index);
};

} // namespace TestSupport
