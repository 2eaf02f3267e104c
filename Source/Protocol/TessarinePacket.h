// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Result.h"
#include "TessarineData.h"

#include <cstddef>
#include <cstdint>

namespace Tessarine
{

/** The pedal's packet layout as pure functions: frames are built and checked
    here, and the engine that waits for replies only moves them.

    A packet is [type][payload length N][N payload bytes], at most 64 bytes in
    all; multi-byte fields in payloads are little-endian.
*/
namespace TessarinePacket
{

enum Type : uint8_t
{
    ack              = 0xC0,
    nack             = 0xC1,
    transferStart    = 0xC2,
    transferData     = 0xC3,
    transferEnd      = 0xC4,
    readRequest      = 0xC5,
    setParameter     = 0xC7,
    programChange    = 0xC9,
    programRequest   = 0xCA,
    programReport    = 0xCC,
    statusReport     = 0xCE,
    firmwareStart    = 0xB1,
    firmwareData     = 0xB2,
    ping             = 0xB4,
    versionRequest   = 0xB5
};

constexpr size_t maxPacketSize = 64;
constexpr size_t headerSize = 2;
constexpr size_t maxPayloadSize = maxPacketSize - headerSize;

/** Every firmware start carries this value after the DSP number. */
constexpr uint32_t firmwareStartConstant = 0x3A7D5C91;

/** Lengths of the fixed payloads. */
constexpr size_t readRequestPayloadSize = 5;
constexpr size_t transferTrailerPayloadSize = 7;
constexpr size_t firmwareStartPayloadSize = 5;
constexpr size_t setParameterPayloadSize = 8;

/** One packet built on the stack. */
struct Frame
{
    uint8_t bytes[maxPacketSize] = {};
    size_t length = 0;

    uint8_t type() const { return bytes[0]; }
    const uint8_t* payload() const { return bytes + headerSize; }
    size_t payloadLength() const { return bytes[1]; }
};

/** Builds [type][n][payload]; more than 62 payload bytes fail with
    "Payload too big" and leave the frame empty. */
Result makeFrame (uint8_t type, const uint8_t* payload, size_t payloadLength, Frame& frame);

/** A packet with no payload, e.g. C0 00. */
Frame emptyFrame (uint8_t type);

/** C5 05: block type, 16-bit index, two zero bytes. */
Frame readRequestFrame (uint32_t blockType, uint32_t index);

/** C4 07: block type, 16-bit index, 16-bit word count, 16-bit checksum. */
Frame transferTrailerFrame (uint32_t blockType, uint32_t index, uint16_t wordCount, uint16_t checksum);

/** B1 05: DSP number and the firmware-start constant. */
Frame firmwareStartFrame (uint32_t dsp);

/** C7 08: 16-bit identifier, two zero bytes, the 32-bit value. */
Frame setParameterFrame (uint32_t parameterId, uint32_t value);

/** C9 01: the low 8 bits of the preset number. */
Frame programChangeFrame (uint32_t preset);

/** Reads the payload of the pedal's acknowledgement of a version request:
    0xB5, system major/minor/patch, DSP major/minor/patch, optionally a kind
    byte (0 to 2; anything else, or none, is -1). False, with versions left
    untouched, when the payload is shorter than 7 bytes or does not start
    with 0xB5. */
bool parseVersionReply (const uint8_t* payload, size_t payloadLength, TessarineData::FirmwareVersionInfo& versions);

/** Folds bytes into the running 16-bit BSD checksum of a bulk write: rotate
    right by one bit, then add the byte. Start from 0. */
uint16_t addToChecksum (uint16_t sum, const uint8_t* data, size_t length);

inline uint16_t checksum (const uint8_t* data, size_t length) { return addToChecksum (0, data, length); }

/** Little-endian field access inside payloads. */
inline uint16_t readU16 (const uint8_t* p) { return (uint16_t) (p[0] | (p[1] << 8)); }

inline uint32_t readU32 (const uint8_t* p)
{
    return (uint32_t) p[0] | ((uint32_t) p[1] << 8) | ((uint32_t) p[2] << 16) | ((uint32_t) p[3] << 24);
}

inline void writeU16 (uint8_t* p, uint32_t v)
{
    p[0] = (uint8_t) v;
    p[1] = (uint8_t) (v >> 8);
}

inline void writeU32 (uint8_t* p, uint32_t v)
{
    p[0] = (uint8_t) v;
    p[1] = (uint8_t) (v >> 8);
    p[2] = (uint8_t) (v >> 16);
    p[3] = (uint8_t) (v >> 24);
}

} // namespace TessarinePacket
} // namespace Tessarine
