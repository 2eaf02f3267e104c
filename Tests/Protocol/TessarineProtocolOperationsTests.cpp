// SPDX-License-Identifier: GPL-3.0-or-later
// The typed operations over the synchronous fake transport, answered by the
// simulated pedal on the test's own thread: exact frames, what the pedal ends
// up storing, and the state each failure leaves.
#include "NameSanitiser.h"
#include "TessarinePacket.h"
#include "TessarineProtocol.h"
#include "Support/FakePacketIO.h"
#include "Support/ByteFixtures.h"
#include "Support/Hex.h"
#include "Support/LogCapture.h"
#include "Support/RecordingProtocolListener.h"
#include "Support/SimulatedPedal.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <thread>

using namespace Tessarine;
namespace Data = Tessarine::TessarineData;
using TestSupport::countingBytes;
using TestSupport::FakePacketIO;
using TestSupport::bytesFromHex;
using TestSupport::LogCapture;
using TestSupport::RecordingProtocolListener;
using TestSupport::SimulatedPedal;
using TestSupport::hex;
using Packets = std::vector<FakePacketIO::Packet>;

namespace
{
constexpr TessarineProtocol::Timeouts shortTimeouts { 50, 30 };

Data::ParamMap paramsOfSize (size_t count, uint32_t firstId = 1)
{
    Data::ParamMap params;

    for (size_t i = 0; i < count; ++i)
        params[firstId + (uint32_t) i] = 0x3F000000u + (uint32_t) i;

    return params;
}

/** The data bytes of every C3 packet among those sent, in order. */
std::vector<uint8_t> carriedData (const Packets& sent)
{
    std::vector<uint8_t> data;

    for (const auto& p : sent)
        if (p[0] == 0xC3)
            data.insert (data.end(), p.begin() + 2, p.end());

    return data;
}

std::string checksumHex (const std::vector<uint8_t>& block)
{
    const uint16_t sum = TessarinePacket::checksum (block.data(), block.size());
    return hex ({ (uint8_t) sum, (uint8_t) (sum >> 8) });
}

class OperationsTest : public ::testing::Test
{
protected:
    OperationsTest() { io.setResponder (FakePacketIO::answeredBy (pedal)); }

    LogCapture log;
    SimulatedPedal pedal;
    FakePacketIO io;
    TessarineProtocol engine { &io, 1, shortTimeouts };
};
} // namespace

//==============================================================================
TEST_F (OperationsTest, GlobalsGoOutAsOneKilobyteBlockAndReadBack)
{
    const Data::ParamMap globals { { 0x20, 0x3F800000 }, { 0x05, 7 }, { 0x1000, 0xFFFF0000 } };
    ASSERT_TRUE (engine.setGlobals (globals).ok);

    std::vector<uint8_t> expected (1024);
    Data::encodeParamList (expected.data(), globals);

    const auto sent = io.sentPackets();
    ASSERT_EQ (sent.size(), 19u);
    EXPECT_EQ (hex (sent.front()), "C2 00");
    EXPECT_EQ (carriedData (sent), expected);
    EXPECT_EQ (hex (sent.back()), "C4 07 01 00 00 00 01 " + checksumHex (expected));
    EXPECT_EQ (pedal.storedBlock (1, 0), expected);

    Data::ParamMap readBack { { 99, 99 } };
    ASSERT_TRUE (engine.getGlobals (readBack).ok);
    EXPECT_EQ (readBack, globals);
    EXPECT_EQ (hex (io.sentPackets()[19]), "C5 05 01 00 00 00 00");
}

TEST_F (OperationsTest, GlobalsAreAKilobyteWhateverTheVariant)
{
    TessarineProtocol otherVariant (&io, 2, shortTimeouts);
    ASSERT_TRUE (otherVariant.setGlobals (paramsOfSize (128)).ok);
    EXPECT_EQ (pedal.storedBlock (1, 0)->size(), 1024u);

    io.clearSentPackets();
    EXPECT_STREQ (otherVariant.setGlobals (paramsOfSize (129)).error, "Too many params");
    EXPECT_TRUE (io.sentPackets().empty());
    EXPECT_EQ (otherVariant.getState(), 1u);
}

TEST_F (OperationsTest, PresetBlockSizeFollowsTheVariant)
{
    const auto params = paramsOfSize (129);

    EXPECT_STREQ (engine.setPreset (4, params).error, "Too many params");
    EXPECT_TRUE (io.sentPackets().empty());
    EXPECT_EQ (engine.getState(), 1u);

    ASSERT_TRUE (engine.setPreset (4, paramsOfSize (128)).ok);
    EXPECT_EQ (pedal.storedBlock (3, 4)->size(), 1024u);

    TessarineProtocol otherVariant (&io, 0, shortTimeouts);
    io.clearSentPackets();
    ASSERT_TRUE (otherVariant.setPreset (4, params).ok);
    EXPECT_EQ (hex (io.sentPackets().back()).substr (0, 20), "C4 07 03 04 00 00 04");
    EXPECT_EQ (pedal.storedBlock (3, 4)->size(), 4096u);

    Data::ParamMap readBack;
    ASSERT_TRUE (otherVariant.getPreset (4, readBack).ok);
    EXPECT_EQ (readBack, params);
}

TEST_F (OperationsTest, PresetReadDecodesOnlyWhatFitsAndWhatCame)
{
    // Three pairs and nothing after them: no end entry, no padding.
    std::vector<uint8_t> shortList (1024);
    Data::encodeParamList (shortList.data(), paramsOfSize (3, 10));
    shortList.resize (24);
    pedal.setBlock (3, 1, shortList);

    Data::ParamMap params;
    ASSERT_TRUE (engine.getPreset (1, params).ok);
    EXPECT_EQ (params, paramsOfSize (3, 10));

    // 514 pairs without an end entry: the pairs past 4096 bytes are dropped.
    std::vector<uint8_t> longList (4096 + 16);
    for (uint32_t i = 0; i < 514; ++i)
    {
        TessarinePacket::writeU32 (longList.data() + 8 * i, 100 + i);
        TessarinePacket::writeU32 (longList.data() + 8 * i + 4, i);
    }
    pedal.setBlock (3, 2, longList);

    ASSERT_TRUE (engine.getPreset (2, params).ok);
    EXPECT_EQ (params.size(), 512u);
    EXPECT_EQ (params.rbegin()->first, 100u + 511u);
}

TEST_F (OperationsTest, AmpBlocksRoundTripAtFullCapacity)
{
    const Data::AmpNameAndID amp { 0x1234ABCD, "Sixteen chars!!!" };
    ASSERT_TRUE (engine.setAmpNameAndID (7, amp, true).ok);
    EXPECT_EQ (pedal.storedBlock (5, 7)->size(), 68u);

    Data::AmpNameAndID ampBack;
    ASSERT_TRUE (engine.getAmpNameAndID (7, ampBack).ok);
    EXPECT_EQ (ampBack.id, amp.id);
    EXPECT_EQ (ampBack.name, amp.name);

    Data::AmpData data;
    data.params = paramsOfSize (256, 500);
    data.name = std::string (255, 'n');
    data.name2 = "Second";
    ASSERT_TRUE (engine.setAmpData (7, data).ok);

    Data::AmpData dataBack;
    ASSERT_TRUE (engine.getAmpData (7, dataBack).ok);
    EXPECT_EQ (dataBack.params, data.params);
    EXPECT_EQ (dataBack.name, data.name);
    EXPECT_EQ (dataBack.name2, data.name2);

    io.clearSentPackets();
    data.params = paramsOfSize (257);
    EXPECT_STREQ (engine.setAmpData (7, data).error, "Too many params");
    EXPECT_TRUE (io.sentPackets().empty());
}

TEST_F (OperationsTest, CabinetNameKeepsFifteenCharacters)
{
    ASSERT_TRUE (engine.setCabName (2, "Fifteen chars!!").ok);
    std::string name;
    ASSERT_TRUE (engine.getCabName (2, name).ok);
    EXPECT_EQ (name, "Fifteen chars!!");

    ASSERT_TRUE (engine.setCabName (2, "Twenty characters!!!").ok);
    EXPECT_EQ (hex (io.sentPackets().back()).substr (0, 20), "C4 07 09 02 00 10 00"); // 16 words
    ASSERT_TRUE (engine.getCabName (2, name).ok);
    EXPECT_EQ (name, "Twenty characte");
}

TEST_F (OperationsTest, CabinetImpulseIsThe133PacketTransfer)
{
    Data::Cabinet cab;
    for (size_t c = 0; c < 2; ++c)
        for (size_t i = 0; i < 1024; ++i)
            cab.impulse[c][i] = (float) (c + 1) * 0.001f * (float) i - 0.5f;

    ASSERT_TRUE (engine.setCabData (3, cab.impulse).ok);
    const auto sent = io.sentPackets();
    ASSERT_EQ (sent.size(), 1u + 133u + 1u);
    EXPECT_EQ (hex (sent.back()).substr (0, 20), "C4 07 0A 03 00 00 08");

    Data::ImpulseData back {};
    ASSERT_TRUE (engine.getCabData (3, back).ok);
    EXPECT_EQ (std::memcmp (back, cab.impulse, sizeof (back)), 0);
}

TEST_F (OperationsTest, ShortBlocksReadAsZeroPadded)
{
    std::vector<uint8_t> half (4096);
    const float one = 1.0f;
    std::memcpy (half.data(), &one, 4);
    pedal.setBlock (10, 0, half);

    Data::ImpulseData impulse;
    for (auto& channel : impulse)
        for (auto& sample : channel)
            sample = 9.0f;

    ASSERT_TRUE (engine.getCabData (0, impulse).ok);
    EXPECT_EQ (impulse[0][0], 1.0f);
    EXPECT_EQ (impulse[0][1], 0.0f);
    EXPECT_EQ (impulse[1][0], 0.0f);
    EXPECT_EQ (impulse[1][1023], 0.0f);
}

TEST_F (OperationsTest, FinishingFilterTravelsByteForByte)
{
    Data::FinishingFilterBlock filter;
    const auto bytes = countingBytes (4096, 0x11);
    std::copy (bytes.begin(), bytes.end(), filter.begin());

    ASSERT_TRUE (engine.setFinishingFilter (8, filter).ok);
    EXPECT_EQ (pedal.storedBlock (8, 8), bytes);

    Data::FinishingFilterBlock back {};
    ASSERT_TRUE (engine.getFinishingFilter (8, back).ok);
    EXPECT_EQ (back, filter);
}

TEST_F (OperationsTest, FailedReadsLeaveTheOutputAndEnterTheErrorState)
{
    pedal.injectFault (0xC5, SimulatedPedal::Fault::nack(), 1, 0);

    std::string name = "unchanged";
    EXPECT_STREQ (engine.getCabName (1, name).error, "Got NACK waiting for TRANSFER_START");
    EXPECT_EQ (name, "unchanged");
    EXPECT_EQ (engine.getState(), 2u);

    Data::ParamMap globals { { 1, 2 } };
    EXPECT_STREQ (engine.getGlobals (globals).error, "Invalid state");
    EXPECT_EQ (globals, (Data::ParamMap { { 1, 2 } }));
}

//==============================================================================
TEST_F (OperationsTest, ProgramChangeAndRequest)
{
    ASSERT_TRUE (engine.setCurrentPreset (0x105).ok);
    EXPECT_EQ (hex (io.sentPackets().back()), "C9 01 05");
    EXPECT_EQ (pedal.currentPreset(), 5u);

    pedal.setCurrentPreset (200);
    uint32_t preset = 0;
    ASSERT_TRUE (engine.getCurrentPreset (preset).ok);
    EXPECT_EQ (hex (io.sentPackets().back()), "CA 00");
    EXPECT_EQ (preset, 200u);
}

TEST_F (OperationsTest, ProgramFailuresAllEnterTheErrorState)
{
    struct Case
    {
        FakePacketIO::Responder answer;
        bool change;
        const char* text;
    };

    const auto nack = [] { return FakePacketIO::replyInOrder ({ { { 0xC1, 0x00 } } }); };
    const std::vector<Case> cases {
        { nack(), true, "Got NACK for program change" },
        { nullptr, true, "Timeout" },
        { nack(), false, "Got NACK for program request" },
        { FakePacketIO::replyInOrder ({ { { 0xCC, 0x00 } } }), false, "Malformed program response" },
    };

    for (const auto& c : cases)
    {
        engine.clearErrorState();
        io.setResponder (c.answer);
        uint32_t preset = 77;
        const Result r = c.change ? engine.setCurrentPreset (3) : engine.getCurrentPreset (preset);

        EXPECT_STREQ (r.error, c.text);
        EXPECT_EQ (engine.getState(), 2u) << c.text;
        EXPECT_EQ (preset, 77u) << c.text;
    }
}

TEST_F (OperationsTest, PingTellsAliveWithoutFailing)
{
    bool alive = false;
    ASSERT_TRUE (engine.ping (alive).ok);
    EXPECT_TRUE (alive);
    EXPECT_EQ (hex (io.sentPackets().back()), "B4 00");

    pedal.injectFault (0xB4, SimulatedPedal::Fault::nack());
    ASSERT_TRUE (engine.ping (alive).ok);
    EXPECT_FALSE (alive);
    EXPECT_EQ (engine.getState(), 1u);

    // No answer within the ping time-out (30 ms here): not alive, no failure.
    pedal.injectFault (0xB4, SimulatedPedal::Fault::lose());
    alive = true;
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE (engine.ping (alive).ok);
    EXPECT_FALSE (alive);
    EXPECT_GE (std::chrono::steady_clock::now() - started, std::chrono::milliseconds (30));
    EXPECT_EQ (engine.getState(), 1u);

    // Only a failed transaction is a failure.
    io.reportState (0);
    EXPECT_STREQ (engine.ping (alive).error, "Invalid state");
    EXPECT_FALSE (alive);
}

TEST_F (OperationsTest, VersionRepliesAsThePedalSendsThem)
{
    struct Case
    {
        const char* reply;
        std::array<uint8_t, 4> system;
        std::array<uint8_t, 4> dsp;
        int kind;
    };

    const std::vector<Case> cases {
        { "C0 08 B5 01 02 03 00 03 03 01", { 1, 2, 3, 0 }, { 0, 3, 3, 0 }, 1 },
        { "C0 07 B5 01 02 03 00 03 03", { 1, 2, 3, 0 }, { 0, 3, 3, 0 }, -1 },
        { "C0 08 B5 09 08 07 06 05 04 03", { 9, 8, 7, 0 }, { 6, 5, 4, 0 }, -1 },
        { "C0 08 B5 09 08 07 06 05 04 80", { 9, 8, 7, 0 }, { 6, 5, 4, 0 }, -1 }, // 0x80 is no kind, not -128
        { "C0 09 B5 01 01 01 02 02 02 00 55", { 1, 1, 1, 0 }, { 2, 2, 2, 0 }, 0 },
    };

    for (const auto& c : cases)
    {
        io.setResponder (FakePacketIO::replyInOrder ({ { bytesFromHex (c.reply) } }));
        Data::FirmwareVersionInfo versions;
        ASSERT_TRUE (engine.getFirmwareVersionInfo (versions).ok) << c.reply;
        EXPECT_EQ (versions.system, c.system) << c.reply;
        EXPECT_EQ (versions.dsp, c.dsp) << c.reply;
        EXPECT_EQ (versions.kind, c.kind) << c.reply;
    }

    EXPECT_EQ (hex (io.sentPackets().back()), "B5 00");
}

TEST_F (OperationsTest, MalformedVersionRepliesLeaveTheEngineConnected)
{
    const std::vector<std::pair<FakePacketIO::Responder, const char*>> cases {
        { FakePacketIO::replyInOrder ({ { bytesFromHex ("C0 06 B5 01 02 03 00 03") } }), "Malformed version response" },
        { FakePacketIO::replyInOrder ({ { bytesFromHex ("C0 07 B4 01 02 03 00 03 03") } }), "Malformed version response" },
    };

    for (const auto& [answer, text] : cases)
    {
        io.setResponder (answer);
        Data::FirmwareVersionInfo versions;
        versions.system = { 4, 4, 4, 4 };
        versions.kind = 2;

        EXPECT_STREQ (engine.getFirmwareVersionInfo (versions).error, text);
        EXPECT_EQ (engine.getState(), 1u) << text;
        EXPECT_EQ (versions.system, (std::array<uint8_t, 4> { 4, 4, 4, 4 })) << text;
        EXPECT_EQ (versions.kind, 2) << text;
    }
}

TEST_F (OperationsTest, LiveParametersGoOutInAnyState)
{
    const uint32_t one = 0x3F800000;
    ASSERT_TRUE (engine.setParameter (0x1234, one).ok);
    EXPECT_EQ (hex (io.sentPackets().back()), "C7 08 34 12 00 00 00 00 80 3F");
    ASSERT_EQ (pedal.liveParameters().size(), 1u);
    EXPECT_EQ (pedal.liveParameters()[0].id, 0x1234);
    EXPECT_EQ (pedal.liveParameters()[0].value, one);

    for (int transportState : { 2, 0 })
    {
        io.reportState (transportState);
        EXPECT_TRUE (engine.setParameter (81, 5).ok);
        EXPECT_TRUE (engine.requestParameterUpdates().ok);
        EXPECT_EQ (hex (io.sentPackets().back()), "CE 00");
    }

    // A transport failure is returned and changes nothing.
    io.reportState (1);
    const Result failure = TESSARINE_ERROR ("hid_write failed with %d", -1);
    io.failSend (1, failure);
    EXPECT_EQ (engine.setParameter (81, 5).error, failure.error);
    EXPECT_EQ (engine.getState(), 1u);
}

TEST_F (OperationsTest, StatusRequestBringsAReportToTheListener)
{
    RecordingProtocolListener listener;
    engine.setHandler (&listener);
    pedal.setCurrentPreset (4);
    pedal.setPanel ({ { 0, 32, 64, 96, 128, 160, 192, 255 }, 2, 1 });

    ASSERT_TRUE (engine.requestParameterUpdates().ok);
    ASSERT_EQ (listener.messages().size(), 1u);
    EXPECT_EQ (hex (listener.messages()[0]), "00 20 40 60 80 A0 C0 FF 04 02 01");
    EXPECT_EQ (pedal.statusRequests(), 1u);
}

// Operations never overlap: a live parameter waits for the running exchange,
// while the status request goes out at once. The exchange is answered only
// when the test says so, so it is surely still running while the others try.
TEST (OperationLock, OnlyTheStatusRequestPassesARunningOperation)
{
    using namespace std::chrono_literals;
    LogCapture log;
    FakePacketIO io;
    TessarineProtocol engine (&io, 1, { 10000, 10000 });

    const auto waitUntil = [] (const std::function<bool()>& condition, std::chrono::milliseconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;

        while (! condition() && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for (1ms);
    };

    std::atomic<bool> operationDone { false }, parameterDone { false };
    Result operation { false, nullptr }, parameter { false, nullptr };

    std::thread worker ([&] {
        operation = engine.setCurrentPreset (1);
        operationDone = true;
    });
    waitUntil ([&] { return ! io.sentPackets().empty(); }, 10s);

    const bool statusSent = engine.requestParameterUpdates().ok;
    const size_t sentWhileRunning = io.sentPackets().size();

    std::thread live ([&] {
        parameter = engine.setParameter (80, 1);
        parameterDone = true;
    });
    // Time for a live parameter that does not wait to go out; one that waits never does.
    waitUntil ([&] { return parameterDone.load(); }, 200ms);
    const bool parameterBeforeTheAnswer = parameterDone;
    const bool operationBeforeTheAnswer = operationDone;

    io.deliver ({ 0xC0, 0x00 });
    worker.join();
    live.join();

    EXPECT_TRUE (statusSent);
    EXPECT_EQ (sentWhileRunning, 2u);
    EXPECT_FALSE (operationBeforeTheAnswer);
    EXPECT_FALSE (parameterBeforeTheAnswer);
    EXPECT_TRUE (operation.ok);
    EXPECT_TRUE (parameter.ok);

    const auto sent = io.sentPackets();
    ASSERT_EQ (sent.size(), 3u);
    EXPECT_EQ (hex (sent[0]), "C9 01 01");
    EXPECT_EQ (hex (sent[1]), "CE 00");
    EXPECT_EQ (hex (sent[2]).substr (0, 5), "C7 08");
}

TEST_F (OperationsTest, FirmwareGoesToDspZero)
{
    const auto image = countingBytes (1000, 0x5A);
    std::vector<double> progress;

    ASSERT_TRUE (engine.sendFirmware (image, [&] (double p) { progress.push_back (p); }).ok);
    EXPECT_EQ (hex (io.sentPackets().front()), "B1 05 00 91 5C 7D 3A");
    EXPECT_EQ (pedal.firmwareImage(), image);
    EXPECT_EQ (pedal.firmwareDSP(), 0u);
    ASSERT_EQ (progress.size(), 17u); // 16 chunks of 62 and one of 8
    EXPECT_EQ (progress.back(), 1.0);
}

//==============================================================================
TEST (SanitiseName, KeepsTheFirstCharactersAndReplacesWhatThePedalCannotShow)
{
    EXPECT_EQ (Data::sanitiseName ("Abcdefghijklmnopqrst", 15), "Abcdefghijklmno");
    EXPECT_EQ (Data::sanitiseName ("a~b\\c|d`e", 15), "a?b?c?d?e");
    EXPECT_EQ (Data::sanitiseName ("Caf\xC3\xA9", 15), "Caf??");          // each UTF-8 byte
    EXPECT_EQ (Data::sanitiseName ("tab\there\x7F", 15), "tab?here?");
    EXPECT_EQ (Data::sanitiseName (" !\"#$%&'()*+,-./", -1), " !\"#$%&'()*+,-./");
    EXPECT_EQ (Data::sanitiseName ("[]^_{}@:;<=>?", -1), "[]^_{}@:;<=>?");
    EXPECT_EQ (Data::sanitiseName ("whole name kept", -1), "whole name kept");
    EXPECT_EQ (Data::sanitiseName ("anything", 0), "");
    EXPECT_EQ (Data::sanitiseName ("short", 15), "short");
}

TEST (SanitiseName, AllowsExactlyNinetyOneCharacters)
{
    int allowed = 0;

    for (int c = 1; c < 256; ++c)
        if (Data::sanitiseName (std::string (1, (char) c), 1) != "?" || c == '?')
            ++allowed;

    EXPECT_EQ (allowed, 91);
}
