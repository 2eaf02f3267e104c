// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated pedal on its own, spoken to as a HID device: what later tests
// rely on when they put the transport and the engine in front of it.
#include "TessarineData.h"
#include "TessarinePacket.h"
#include "Support/ByteFixtures.h"
#include "Support/Hex.h"
#include "Support/SimulatedPedal.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using TestSupport::bytesFromHex;
using TestSupport::countingBytes;
using TestSupport::hex;
using TestSupport::SimulatedPedal;
using Fault = SimulatedPedal::Fault;
using Packet = SimulatedPedal::Packet;
using namespace std::chrono_literals;

namespace
{
int writePacket (SimulatedPedal& pedal, const Packet& packet)
{
    Packet report { 0 };
    report.insert (report.end(), packet.begin(), packet.end());
    return pedal.write (report.data(), report.size());
}

/** Every report the pedal has ready now. */
std::vector<Packet> readyReports (SimulatedPedal& pedal)
{
    std::vector<Packet> reports;
    uint8_t buffer[64];
    int n;

    while ((n = pedal.read (buffer, sizeof (buffer), 0)) > 0)
        reports.emplace_back (buffer, buffer + n);

    return reports;
}

/** The packets (length byte honoured, padding cut) answering one packet. */
std::vector<std::string> answersTo (SimulatedPedal& pedal, const std::string& packetHex)
{
    writePacket (pedal, bytesFromHex (packetHex));
    std::vector<std::string> answers;

    for (const auto& r : readyReports (pedal))
        answers.push_back (r.size() >= 2 && r[1] + 2u <= r.size() ? hex (r.data(), r[1] + 2u) : hex (r));

    return answers;
}

/** Writes a block as the host does; returns the answer to the trailer. */
std::string writeBlock (SimulatedPedal& pedal, uint8_t type, uint16_t index, const Packet& data, int checksumError = 0)
{
    answersTo (pedal, "C2 00");

    for (size_t at = 0; at < data.size(); at += 62)
    {
        const size_t n = std::min<size_t> (62, data.size() - at);
        Packet chunk { 0xC3, (uint8_t) n };
        chunk.insert (chunk.end(), data.begin() + (long) at, data.begin() + (long) (at + n));
        writePacket (pedal, chunk);
        readyReports (pedal);
    }

    const auto trailer = Tessarine::TessarinePacket::transferTrailerFrame (
        type, index, (uint16_t) (data.size() / 4),
        (uint16_t) (Tessarine::TessarinePacket::checksum (data.data(), data.size()) + checksumError));
    return answersTo (pedal, hex (trailer.bytes, trailer.length)).at (0);
}
} // namespace

TEST (SimulatedPedal, AnswersTheSinglePacketRequests)
{
    SimulatedPedal pedal;
    EXPECT_EQ (pedal.getVendorID(), 0x04D8);
    EXPECT_EQ (pedal.getProductID(), 0x003F);

    EXPECT_EQ (answersTo (pedal, "B4 00"), std::vector<std::string> { "C0 00" });
    EXPECT_EQ (answersTo (pedal, "C9 01 06"), std::vector<std::string> { "C0 00" });
    EXPECT_EQ (pedal.currentPreset(), 6u);
    EXPECT_EQ (answersTo (pedal, "CA 00"), std::vector<std::string> { "CC 01 06" });

    pedal.setVersions ({ 1, 2, 3 }, { 0, 3, 3 }, 1);
    EXPECT_EQ (answersTo (pedal, "B5 00"), std::vector<std::string> { "C0 08 B5 01 02 03 00 03 03 01" });
    pedal.setVersions ({ 1, 2, 3 }, { 0, 3, 3 }, -1);
    EXPECT_EQ (answersTo (pedal, "B5 00"), std::vector<std::string> { "C0 07 B5 01 02 03 00 03 03" });

    EXPECT_TRUE (answersTo (pedal, "C7 08 34 12 00 00 00 00 80 3F").empty());
    ASSERT_EQ (pedal.liveParameters().size(), 1u);
    EXPECT_EQ (pedal.liveParameters()[0].id, 0x1234);
    EXPECT_EQ (pedal.liveParameters()[0].value, 0x3F800000u);

    pedal.setPanel ({ { 1, 2, 3, 4, 5, 6, 7, 8 }, 0, 1 });
    EXPECT_EQ (answersTo (pedal, "CE 00"), std::vector<std::string> { "CE 0B 01 02 03 04 05 06 07 08 06 00 01" });
    EXPECT_EQ (pedal.statusRequests(), 1u);

    // Nonsense is refused rather than ignored, so a confused host hears of it.
    EXPECT_EQ (answersTo (pedal, "D3 00"), std::vector<std::string> { "C1 00" });
    EXPECT_EQ (answersTo (pedal, "C0 00"), std::vector<std::string> { "C1 00" }); // no read running
    EXPECT_EQ (answersTo (pedal, "C3 01 00"), std::vector<std::string> { "C1 00" }); // no write running
    EXPECT_EQ (answersTo (pedal, "B4 05 00"), std::vector<std::string> { "C1 00" }); // length overruns
}

TEST (SimulatedPedal, AnswersAreFullSizeInputReports)
{
    SimulatedPedal pedal;
    writePacket (pedal, bytesFromHex ("CA 00"));
    const auto reports = readyReports (pedal);
    ASSERT_EQ (reports.size(), 1u);
    EXPECT_EQ (reports[0].size(), 64u);
    EXPECT_EQ (hex (reports[0].data(), 4), "CC 01 00 00");
}

TEST (SimulatedPedal, ServesStoredAndDefaultBlocksInChunks)
{
    SimulatedPedal pedal;
    const auto block = countingBytes (124);
    pedal.setBlock (6, 0x0203, block);

    EXPECT_EQ (answersTo (pedal, "C5 05 06 03 02 00 00"), std::vector<std::string> { "C2 00" });
    EXPECT_EQ (answersTo (pedal, "C0 00").at (0), "C3 3E " + hex (block.data(), 62));
    EXPECT_EQ (answersTo (pedal, "C0 00").at (0), "C3 3E " + hex (block.data() + 62, 62));
    const uint16_t sum = Tessarine::TessarinePacket::checksum (block.data(), block.size());
    EXPECT_EQ (answersTo (pedal, "C0 00").at (0), "C4 07 06 03 02 1F 00 " + hex ({ (uint8_t) sum, (uint8_t) (sum >> 8) }));
    EXPECT_EQ (answersTo (pedal, "C0 00").at (0), "C1 00"); // the read is over

    // Blocks never written read as a default of their type's size.
    const std::vector<std::pair<uint32_t, size_t>> sizes { { 1, 1024 }, { 3, 1024 }, { 5, 68 }, { 6, 4096 },
                                                           { 8, 4096 }, { 9, 64 }, { 10, 8192 } };
    for (const auto& [type, size] : sizes)
        EXPECT_EQ (pedal.blockAsRead (type, 7)->size(), size) << "type " << type;

    Tessarine::TessarineData::ParamMap globals { { 1, 1 } };
    Tessarine::TessarineData::decodeParamList (pedal.blockAsRead (1, 0)->data(), 1024, globals);
    EXPECT_TRUE (globals.empty());
    EXPECT_EQ (Tessarine::TessarineData::readWord (pedal.blockAsRead (10, 0)->data() + 4096), 0x3F800000u);

    EXPECT_EQ (answersTo (pedal, "C5 05 02 00 00 00 00"), std::vector<std::string> { "C1 00" }); // unknown type
}

TEST (SimulatedPedal, StoresOnlyWritesWhoseTrailerAddsUp)
{
    SimulatedPedal pedal;
    const auto block = countingBytes (200, 9);

    EXPECT_EQ (writeBlock (pedal, 9, 4, block), "C0 00");
    EXPECT_EQ (pedal.storedBlock (9, 4), block);

    EXPECT_EQ (writeBlock (pedal, 9, 5, block, 1), "C1 00");
    EXPECT_FALSE (pedal.storedBlock (9, 5).has_value());
    EXPECT_EQ (pedal.refusedWrites(), 1u);

    // A word count that does not describe the data.
    answersTo (pedal, "C2 00");
    answersTo (pedal, "C3 04 01 02 03 04");
    const uint16_t sum = Tessarine::TessarinePacket::checksum (bytesFromHex ("01 02 03 04").data(), 4);
    const auto trailer = Tessarine::TessarinePacket::transferTrailerFrame (9, 6, 2, sum);
    EXPECT_EQ (answersTo (pedal, hex (trailer.bytes, trailer.length)), std::vector<std::string> { "C1 00" });
    EXPECT_EQ (pedal.refusedWrites(), 2u);
}

TEST (SimulatedPedal, TakesFirmwareOnlyAfterAValidStart)
{
    SimulatedPedal pedal;
    EXPECT_EQ (answersTo (pedal, "B2 02 01 02"), std::vector<std::string> { "C1 00" });
    EXPECT_EQ (answersTo (pedal, "B1 05 00 00 00 00 00"), std::vector<std::string> { "C1 00" });
    EXPECT_EQ (answersTo (pedal, "B1 05 01 91 5C 7D 3A"), std::vector<std::string> { "C0 00" });
    EXPECT_EQ (answersTo (pedal, "B2 02 01 02"), std::vector<std::string> { "C0 00" });
    EXPECT_EQ (answersTo (pedal, "B2 01 03"), std::vector<std::string> { "C0 00" });
    EXPECT_EQ (hex (pedal.firmwareImage()), "01 02 03");
    EXPECT_EQ (pedal.firmwareDSP(), 1u);
}

TEST (SimulatedPedal, RecordsWhatTheHostWrote)
{
    SimulatedPedal pedal;
    writePacket (pedal, bytesFromHex ("B4 00"));
    writePacket (pedal, bytesFromHex ("C9 01 02"));

    EXPECT_EQ (pedal.receivedCount(), 2u);
    EXPECT_EQ (hex (pedal.receivedReports()[1]), "00 C9 01 02");
    EXPECT_EQ (hex (pedal.receivedPackets()[1]), "C9 01 02");

    pedal.clearReceived();
    EXPECT_EQ (pedal.receivedCount(), 0u);
}

//==============================================================================
TEST (SimulatedPedalFaults, CountPerTypeFromWhenTheyAreAdded)
{
    SimulatedPedal pedal;
    answersTo (pedal, "B4 00");
    pedal.injectFault (0xB4, Fault::nack(), 2, 2);

    std::vector<std::string> answers;
    for (int i = 0; i < 5; ++i)
    {
        answersTo (pedal, "CA 00"); // other types do not count
        answers.push_back (answersTo (pedal, "B4 00").at (0));
    }

    EXPECT_EQ (answers, (std::vector<std::string> { "C0 00", "C1 00", "C1 00", "C0 00", "C0 00" }));

    pedal.injectFault (0xB4, Fault::nack(), 1, 0); // every one from now on
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ (answersTo (pedal, "B4 00").at (0), "C1 00");

    pedal.clearFaults();
    EXPECT_EQ (answersTo (pedal, "B4 00").at (0), "C0 00");
}

TEST (SimulatedPedalFaults, ExchangeFaultHitsTheNthPacketOfAnyType)
{
    SimulatedPedal pedal;
    pedal.injectFaultAtExchange (3, Fault::lose());

    EXPECT_EQ (answersTo (pedal, "B4 00").size(), 1u);
    EXPECT_EQ (answersTo (pedal, "CA 00").size(), 1u);
    EXPECT_TRUE (answersTo (pedal, "C9 01 04").empty());
    EXPECT_EQ (pedal.currentPreset(), 0u); // a lost packet is not handled
    EXPECT_EQ (answersTo (pedal, "C9 01 04").size(), 1u);
    EXPECT_EQ (pedal.currentPreset(), 4u);
}

TEST (SimulatedPedalFaults, ShapeTheAnswersAsAsked)
{
    SimulatedPedal pedal;
    pedal.setCurrentPreset (3);

    pedal.injectFault (0xCA, Fault::corrupt());
    writePacket (pedal, bytesFromHex ("CA 00"));
    auto reports = readyReports (pedal);
    ASSERT_EQ (reports.size(), 1u);
    EXPECT_EQ (reports[0].size(), 64u);
    EXPECT_EQ (hex (reports[0].data(), 3), "CC 3F 03"); // claims 65 bytes

    pedal.injectFault (0xCA, Fault::shortReport());
    writePacket (pedal, bytesFromHex ("CA 00"));
    reports = readyReports (pedal);
    ASSERT_EQ (reports.size(), 1u);
    EXPECT_EQ (hex (reports[0]), "CC");

    pedal.injectFault (0xCA, Fault::extraPacket (bytesFromHex ("C0 00")));
    EXPECT_EQ (answersTo (pedal, "CA 00"), (std::vector<std::string> { "C0 00", "CC 01 03" }));
}

TEST (SimulatedPedalFaults, DelayedAnswersWaitButDoNotHoldBackOthers)
{
    SimulatedPedal pedal;
    // A second, so that even a slow machine reads the status report below
    // before the delayed answer is due.
    pedal.injectFault (0xB4, Fault::delayBy (1000ms));
    const auto written = std::chrono::steady_clock::now();
    writePacket (pedal, bytesFromHex ("B4 00"));
    EXPECT_TRUE (readyReports (pedal).empty());

    pedal.sendStatusReport();
    uint8_t buffer[64];
    ASSERT_GT (pedal.read (buffer, 64, 0), 0);
    EXPECT_EQ (buffer[0], 0xCE);

    int n = 0;
    while (n == 0 && std::chrono::steady_clock::now() - written < 10s)
        n = pedal.read (buffer, 64, 1000);

    ASSERT_GT (n, 0);
    EXPECT_EQ (hex (buffer, 2), "C0 00");
    EXPECT_GE (std::chrono::steady_clock::now() - written, 1000ms);
}

TEST (SimulatedPedalFaults, UnplugFailsReadsAndWritesUntilPluggedIn)
{
    SimulatedPedal pedal;
    pedal.injectFault (0xC3, Fault::unplug());
    answersTo (pedal, "C2 00");

    EXPECT_EQ (writePacket (pedal, bytesFromHex ("C3 01 00")), 4); // accepted, never answered
    EXPECT_TRUE (pedal.isUnplugged());
    uint8_t buffer[64];
    EXPECT_LT (pedal.read (buffer, 64, 100), 0);
    EXPECT_LT (writePacket (pedal, bytesFromHex ("B4 00")), 0);

    pedal.plugIn();
    EXPECT_EQ (answersTo (pedal, "B4 00"), std::vector<std::string> { "C0 00" });
    EXPECT_EQ (answersTo (pedal, "C3 01 00"), std::vector<std::string> { "C1 00" }); // the old write is gone

    pedal.close();
    EXPECT_TRUE (pedal.isClosed());
    EXPECT_LT (pedal.read (buffer, 64, 100), 0);
}

TEST (SimulatedPedal, ReadsReturnWithinTheWaitLimit)
{
    SimulatedPedal pedal;
    pedal.setReadWaitLimit (5ms);
    uint8_t buffer[64];

    // Far below the ten seconds asked for, with room for a busy machine.
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ (pedal.read (buffer, 64, 10000), 0);
    EXPECT_LT (std::chrono::steady_clock::now() - started, 5s);
}

// Several host threads and one reader at once, as the transport and the
// service's threads use it; run under ThreadSanitizer in CI.
TEST (SimulatedPedal, ServesConcurrentWritersAndAReader)
{
    SimulatedPedal pedal;
    constexpr int writers = 4, perWriter = 200;
    std::atomic<int> answers { 0 };

    std::thread reader ([&] {
        uint8_t buffer[64];
        const auto giveUp = std::chrono::steady_clock::now() + 10s;
        while (answers < writers * perWriter && std::chrono::steady_clock::now() < giveUp)
            if (pedal.read (buffer, 64, 10) > 0)
                ++answers;
    });

    std::vector<std::thread> hosts;
    for (int w = 0; w < writers; ++w)
        hosts.emplace_back ([&pedal, w] {
            for (int i = 0; i < perWriter; ++i)
            {
                writePacket (pedal, bytesFromHex ("B4 00"));
                writePacket (pedal, Packet { 0xC7, 8, (uint8_t) w, 0, 0, 0, 1, 0, 0, 0 });
            }
        });

    for (auto& h : hosts)
        h.join();
    reader.join();

    EXPECT_EQ (answers, writers * perWriter);
    EXPECT_EQ (pedal.liveParameters().size(), (size_t) (writers * perWriter));
    EXPECT_EQ (pedal.receivedCount(), (size_t) (2 * writers * perWriter));
}
