// SPDX-License-Identifier: GPL-3.0-or-later
#include "TessarinePacket.h"
#include "Support/ByteFixtures.h"
#include "Support/Hex.h"
#include "Support/LogCapture.h"

#include <gtest/gtest.h>

using namespace Tessarine;
using namespace Tessarine::TessarinePacket;
using TestSupport::countingBytes;
using TestSupport::hex;

namespace
{
std::string hexOf (const Frame& frame)
{
    return hex (frame.bytes, frame.length);
}
} // namespace

TEST (PacketChecksum, MatchesTheKnownValues)
{
    const uint8_t abc[] = { 0x61, 0x62, 0x63 };
    EXPECT_EQ (checksum (abc, 3), 0x40AC);

    const uint8_t zero[] = { 0 };
    EXPECT_EQ (checksum (zero, 1), 0);
    EXPECT_EQ (checksum (nullptr, 0), 0);

    // The rotation wraps the low bit into bit 15: 0x0001 rotated is 0x8000.
    const uint8_t one[] = { 0x01, 0x00 };
    EXPECT_EQ (checksum (one, 2), 0x8000);
}

TEST (PacketChecksum, FoldsChunkByChunkLikeTheWholeBlock)
{
    const auto block = countingBytes (1024, 7);
    const uint16_t whole = checksum (block.data(), block.size());

    uint16_t sum = 0;
    for (size_t at = 0; at < block.size(); at += 62)
        sum = addToChecksum (sum, block.data() + at, std::min<size_t> (62, block.size() - at));

    EXPECT_EQ (sum, whole);
    EXPECT_NE (whole, 0);
}

TEST (PacketFrames, FixedLayoutsAreByteExact)
{
    EXPECT_EQ (hexOf (emptyFrame (ack)), "C0 00");
    EXPECT_EQ (hexOf (readRequestFrame (3, 0x1234)), "C5 05 03 34 12 00 00");
    // Only the low 16 bits of the index travel.
    EXPECT_EQ (hexOf (readRequestFrame (10, 0x10008)), "C5 05 0A 08 00 00 00");
    EXPECT_EQ (hexOf (transferTrailerFrame (1, 0, 256, 0xBEEF)), "C4 07 01 00 00 00 01 EF BE");
    EXPECT_EQ (hexOf (firmwareStartFrame (0)), "B1 05 00 91 5C 7D 3A");
    EXPECT_EQ (hexOf (firmwareStartFrame (1)), "B1 05 01 91 5C 7D 3A");
    EXPECT_EQ (hexOf (setParameterFrame (0x1234, 0x3F800000)), "C7 08 34 12 00 00 00 00 80 3F");
    EXPECT_EQ (hexOf (setParameterFrame (0xABCD1234, 0xDEADBEEF)), "C7 08 34 12 00 00 EF BE AD DE");
    EXPECT_EQ (hexOf (programChangeFrame (0x105)), "C9 01 05");
}

TEST (PacketFrames, PayloadsAboveSixtyTwoBytesAreRefused)
{
    const auto bytes = countingBytes (63);
    Frame frame;

    ASSERT_TRUE (makeFrame (transferData, bytes.data(), 62, frame).ok);
    EXPECT_EQ (frame.length, 64u);
    EXPECT_EQ (frame.bytes[1], 62);
    EXPECT_EQ (frame.bytes[63], 61);

    TestSupport::LogCapture log;
    const Result r = makeFrame (transferData, bytes.data(), 63, frame);
    EXPECT_FALSE (r.ok);
    EXPECT_STREQ (r.error, "Payload too big");
    EXPECT_EQ (frame.length, 0u);
}
