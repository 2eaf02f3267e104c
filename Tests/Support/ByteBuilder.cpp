// SPDX-License-Identifier: GPL-3.0-or-later
#include "Support/ByteBuilder.h"

#include <cmath>

namespace TestSupport
{

ByteBuilder& ByteBuilder::tag (const char* fourCharacters)
{
    content.insert (content.end(), fourCharacters, fourCharacters + 4);
    return *this;
}

ByteBuilder& ByteBuilder::u8 (uint8_t value)
{
    content.push_back (value);
    return *this;
}

ByteBuilder& ByteBuilder::le16 (uint16_t value)
{
    return u8 ((uint8_t) value).u8 ((uint8_t) (value >> 8));
}

ByteBuilder& ByteBuilder::le32 (uint32_t value)
{
    return le16 ((uint16_t) value).le16 ((uint16_t) (value >> 16));
}

ByteBuilder& ByteBuilder::be16 (uint16_t value)
{
    return u8 ((uint8_t) (value >> 8)).u8 ((uint8_t) value);
}

ByteBuilder& ByteBuilder::be32 (uint32_t value)
{
    return be16 ((uint16_t) (value >> 16)).be16 ((uint16_t) value);
}

ByteBuilder& ByteBuilder::bytes (const std::vector<uint8_t>& more)
{
    content.insert (content.end(), more.begin(), more.end());
    return *this;
}

ByteBuilder& ByteBuilder::zeros (size_t count)
{
    content.insert (content.end(), count, 0);
    return *this;
}

ByteBuilder& ByteBuilder::extended (double value)
{
    if (value == 0.0)
        return zeros (10);

    int exponent = 0;
    const double mantissa = std::frexp (std::fabs (value), &exponent); // [0.5, 1)
    const uint64_t bits = (uint64_t) std::ldexp (mantissa, 64);
    const uint16_t signAndExponent = (uint16_t) ((value < 0 ? 0x8000 : 0) | (exponent - 1 + 16383));

    be16 (signAndExponent);

    for (int shift = 56; shift >= 0; shift -= 8)
        u8 ((uint8_t) (bits >> shift));

    return *this;
}

ByteBuilder& ByteBuilder::riffChunk (const char* id, const std::vector<uint8_t>& body)
{
    tag (id).le32 ((uint32_t) body.size()).bytes (body);
    return (body.size() & 1) != 0 ? u8 (0) : *this;
}

ByteBuilder& ByteBuilder::iffChunk (const char* id, const std::vector<uint8_t>& body)
{
    tag (id).be32 ((uint32_t) body.size()).bytes (body);
    return (body.size() & 1) != 0 ? u8 (0) : *this;
}

} // namespace TestSupport
