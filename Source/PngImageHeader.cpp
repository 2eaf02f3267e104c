// SPDX-License-Identifier: GPL-3.0-or-later
#include "PngImageHeader.h"

#include <cstring>

namespace
{
uint32_t readBigEndian32 (const uint8_t* bytes)
{
    return ((uint32_t) bytes[0] << 24) | ((uint32_t) bytes[1] << 16) | ((uint32_t) bytes[2] << 8) | (uint32_t) bytes[3];
}
} // namespace

bool PngImageHeader::readSize (const uint8_t* data, size_t size, uint32_t& width, uint32_t& height)
{
    static const uint8_t signature[8] = { 0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a };
    static const uint8_t headerChunk[8] = { 0, 0, 0, 13, 'I', 'H', 'D', 'R' };

    if (data == nullptr || size < kBytesNeeded)
        return false;

    if (std::memcmp (data, signature, sizeof (signature)) != 0 || std::memcmp (data + 8, headerChunk, sizeof (headerChunk)) != 0)
        return false;

    width = readBigEndian32 (data + 16);
    height = readBigEndian32 (data + 20);
    return true;
}
