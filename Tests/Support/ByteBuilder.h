// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace TestSupport
{

/** Builds byte strings field by field, in either byte order, so that crafted
    files in tests read like their layout. */
class ByteBuilder
{
public:
    ByteBuilder& tag (const char* fourCharacters);
    ByteBuilder& u8 (uint8_t value);
    ByteBuilder& le16 (uint16_t value);
    ByteBuilder& le32 (uint32_t value);
    ByteBuilder& be16 (uint16_t value);
    ByteBuilder& be32 (uint32_t value);
    ByteBuilder& bytes (const std::vector<uint8_t>& more);
    ByteBuilder& zeros (size_t count);

    /** An 80-bit big-endian IEEE extended number (AIFF sample rates). */
    ByteBuilder& extended (double value);

    /** A RIFF-style chunk: id, little-endian size, body, pad byte when odd. */
    ByteBuilder& riffChunk (const char* id, const std::vector<uint8_t>& body);

    /** An IFF-style chunk: id, big-endian size, body, pad byte when odd. */
    ByteBuilder& iffChunk (const char* id, const std::vector<uint8_t>& body);

    const std::vector<uint8_t>& data() const { return content; }
    size_t size() const { return content.size(); }
    operator const std::vector<uint8_t>&() const { return content; }

private:
    std::vector<uint8_t> content;
};

} // namespace TestSupport
