// SPDX-License-Identifier: GPL-3.0-or-later
#include "TessarinePacket.h"

#include <cstring>

namespace Tessarine
{
namespace TessarinePacket
{

Result makeFrame (uint8_t type, const uint8_t* payload, size_t payloadLength, Frame& frame)
{
    if (payloadLength > maxPayloadSize)
    {
        frame.length = 0;
        return TESSARINE_ERROR ("Payload too big");
    }

    frame.bytes[0] = type;
    frame.bytes[1] = (uint8_t) payloadLength;

    if (payloadLength > 0)
        std::memcpy (frame.bytes + headerSize, payload, payloadLength);

    frame.length = headerSize + payloadLength;
    return kSuccess;
}

Frame emptyFrame (uint8_t type)
{
    Frame frame;
    frame.bytes[0] = type;
    frame.bytes[1] = 0;
    frame.length = headerSize;
    return frame;
}

namespace
{
// The fixed-layout frames below: header plus a payload the caller fills.
uint8_t* startFrame (Frame& frame, uint8_t type, size_t payloadLength)
{
    frame.bytes[0] = type;
    frame.bytes[1] = (uint8_t) payloadLength;
    frame.length = headerSize + payloadLength;
    return frame.bytes + headerSize;
}
} // namespace

Frame readRequestFrame (uint32_t blockType, uint32_t index)
{
    Frame frame;
    uint8_t* p = startFrame (frame, readRequest, readRequestPayloadSize);
    p[0] = (uint8_t) blockType;
    writeU16 (p + 1, index);
    p[3] = 0;
    p[4] = 0;
    return frame;
}

Frame transferTrailerFrame (uint32_t blockType, uint32_t index, uint16_t wordCount, uint16_t checksum)
{
    Frame frame;
    uint8_t* p = startFrame (frame, transferEnd, transferTrailerPayloadSize);
    p[0] = (uint8_t) blockType;
    writeU16 (p + 1, index);
    writeU16 (p + 3, wordCount);
    writeU16 (p + 5, checksum);
    return frame;
}

Frame firmwareStartFrame (uint32_t dsp)
{
    Frame frame;
    uint8_t* p = startFrame (frame, firmwareStart, firmwareStartPayloadSize);
    p[0] = (uint8_t) dsp;
    writeU32 (p + 1, firmwareStartConstant);
    return frame;
}

Frame setParameterFrame (uint32_t parameterId, uint32_t value)
{
    Frame frame;
    uint8_t* p = startFrame (frame, setParameter, setParameterPayloadSize);
    writeU16 (p, parameterId);
    p[2] = 0;
    p[3] = 0;
    writeU32 (p + 4, value);
    return frame;
}

Frame programChangeFrame (uint32_t preset)
{
    Frame frame;
    uint8_t* p = startFrame (frame, programChange, 1);
    p[0] = (uint8_t) preset;
    return frame;
}

bool parseVersionReply (const uint8_t* payload, size_t payloadLength, TessarineData::FirmwareVersionInfo& versions)
{
    constexpr size_t versionsLength = 7;

    if (payloadLength < versionsLength || payload[0] != versionRequest)
        return false;

    versions.system = { payload[1], payload[2], payload[3], 0 };
    versions.dsp = { payload[4], payload[5], payload[6], 0 };

    // Unsigned on purpose: a kind byte of 0x80 must read as "none" (-1), not
    // as a negative number that passes the "at most 2" test.
    const unsigned kind = payloadLength > versionsLength ? payload[versionsLength] : 0xFFu;
    versions.kind = kind <= 2 ? (int32_t) kind : -1;
    return true;
}

uint16_t addToChecksum (uint16_t sum, const uint8_t* data, size_t length)
{
    for (size_t i = 0; i < length; ++i)
    {
        sum = (uint16_t) ((sum >> 1) | (sum << 15));
        sum = (uint16_t) (sum + data[i]);
    }

    return sum;
}

} // namespace TessarinePacket
} // namespace Tessarine
