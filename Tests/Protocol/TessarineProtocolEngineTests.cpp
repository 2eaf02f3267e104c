// SPDX-License-Identifier: GPL-3.0-or-later
// The engine over the synchronous fake transport: exact frames, reply
// matching, failure texts and the states they leave, without threads except
// where a test needs a second party.
#include "TessarinePacket.h"
#include "TessarineProtocol.h"
#include "Support/FakePacketIO.h"
#include "Support/ByteFixtures.h"
#include "Support/Hex.h"
#include "Support/LogCapture.h"
#include "Support/RecordingProtocolListener.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

using namespace Tessarine;
using TestSupport::countingBytes;
using TestSupport::FakePacketIO;
using TestSupport::bytesFromHex;
using TestSupport::LogCapture;
using TestSupport::RecordingProtocolListener;
using TestSupport::hex;
using Packets = std::vector<FakePacketIO::Packet>;

namespace
{
constexpr TessarineProtocol::Timeouts shortTimeouts { 50, 30 };

FakePacketIO::Packet ackPacket() { return { 0xC0, 0x00 }; }
FakePacketIO::Packet nackPacket() { return { 0xC1, 0x00 }; }

FakePacketIO::Packet dataPacket (const std::vector<uint8_t>& block, size_t from, size_t n)
{
    FakePacketIO::Packet p { 0xC3, (uint8_t) n };
    p.insert (p.end(), block.begin() + (long) from, block.begin() + (long) (from + n));
    return p;
}

/** The packets of a pedal answering a read with block in 62-byte chunks:
    C2 for the request, one C3 per acknowledgement, C4 for the last one. */
std::vector<Packets> readAnswers (const std::vector<uint8_t>& block)
{
    std::vector<Packets> answers { { { 0xC2, 0x00 } } };

    for (size_t at = 0; at < block.size(); at += 62)
        answers.push_back ({ dataPacket (block, at, std::min<size_t> (62, block.size() - at)) });

    answers.push_back ({ { 0xC4, 0x00 } });
    return answers;
}

class EngineTest : public ::testing::Test
{
protected:
    std::vector<std::string> sentHex() const
    {
        std::vector<std::string> result;

        for (const auto& p : io.sentPackets())
            result.push_back (hex (p));

        return result;
    }

    LogCapture log;
    FakePacketIO io;
    TessarineProtocol engine { &io, 1, shortTimeouts };
};
} // namespace

//==============================================================================
TEST (EngineState, FollowsTheTransportAndTellsTheListener)
{
    FakePacketIO stopped (IDevicePacketIO::stateStopped);

    {
        TessarineProtocol engine (&stopped, 1);
        EXPECT_TRUE (stopped.hasHandler());
        EXPECT_EQ (engine.getState(), 0u);
        EXPECT_EQ (engine.getTimeouts().replyMs, 60000u);
        EXPECT_EQ (engine.getTimeouts().pingMs, 3000u);

        RecordingProtocolListener listener;
        engine.setHandler (&listener);
        stopped.reportState (1);
        EXPECT_EQ (engine.getState(), 1u);
        stopped.reportState (2);
        EXPECT_EQ (engine.getState(), 2u);
        stopped.reportState (7); // anything unknown is an error
        EXPECT_EQ (engine.getState(), 2u);
        stopped.reportState (0);
        EXPECT_EQ (engine.getState(), 0u);
        EXPECT_EQ (listener.states(), (std::vector<int> { 1, 2, 2, 0 }));

        engine.setHandler (nullptr);
        stopped.reportState (1);
        EXPECT_EQ (listener.states().size(), 4u);
    }

    EXPECT_FALSE (stopped.hasHandler());
}

TEST_F (EngineTest, ErrorStateIsEnteredAndClearedSilently)
{
    RecordingProtocolListener listener;
    engine.setHandler (&listener);

    engine.enterErrorState();
    EXPECT_EQ (engine.getState(), 2u);
    EXPECT_EQ (io.flushCount(), 1u);

    engine.clearErrorState();
    EXPECT_EQ (engine.getState(), 1u);
    EXPECT_TRUE (listener.states().empty());

    // A disconnected engine stays disconnected either way.
    io.reportState (0);
    engine.enterErrorState();
    EXPECT_EQ (engine.getState(), 0u);
    engine.clearErrorState();
    EXPECT_EQ (engine.getState(), 0u);
}

//==============================================================================
TEST_F (EngineTest, TransactionsStartOnlyWhenConnected)
{
    uint8_t buffer[64];
    TessarineProtocol::MessageBuffer reply { buffer, sizeof (buffer) };
    int sends = 0;
    auto send = [&] (int) { ++sends; return kSuccess; };

    for (int transportState : { 0, 2 })
    {
        io.reportState (transportState);
        const Result r = engine.doPacketTransaction (reply, { 0xC0 }, send);
        EXPECT_STREQ (r.error, "Invalid state");
    }

    EXPECT_EQ (sends, 0);
    EXPECT_TRUE (io.sentPackets().empty());
}

TEST_F (EngineTest, NoReplyIsSuccessWithoutResponseOrTimeout)
{
    uint8_t buffer[64];
    TessarineProtocol::MessageBuffer reply { buffer, sizeof (buffer) };
    const auto send = [&] (int) { const uint8_t b[] = { 0xB4, 0x00 }; return io.sendPacket (b, 2); };

    bool got = true;
    const auto started = std::chrono::steady_clock::now();
    const Result primitive = engine.doPacketTransactionWithTimeout (reply, { 0xC0, 0xC1 }, 20, got, send);
    EXPECT_TRUE (primitive.ok);
    EXPECT_FALSE (got);
    EXPECT_GE (std::chrono::steady_clock::now() - started, std::chrono::milliseconds (20));

    const Result plain = engine.doPacketTransaction (reply, { 0xC0, 0xC1 }, send);
    EXPECT_STREQ (plain.error, "Timeout");

    // The primitive itself never changes the state; its callers decide.
    EXPECT_EQ (engine.getState(), 1u);
}

TEST_F (EngineTest, ReplyIsCopiedWithoutTheReportsTrailingBytes)
{
    FakePacketIO::Packet report (64, 0x55);
    report[0] = 0xC0;
    report[1] = 3;
    report[2] = 1;
    report[3] = 2;
    report[4] = 3;
    io.setResponder ([&] (const FakePacketIO::Packet&) { return Packets { report }; });

    uint8_t buffer[64];
    std::memset (buffer, 0xEE, sizeof (buffer));
    TessarineProtocol::MessageBuffer reply { buffer, sizeof (buffer) };
    const Result r = engine.doPacketTransaction (reply, { 0xC0 }, [&] (int) {
        const uint8_t b[] = { 0xB5, 0x00 };
        return io.sendPacket (b, 2);
    });

    ASSERT_TRUE (r.ok);
    EXPECT_EQ (hex (buffer, 6), "C0 03 01 02 03 EE");
}

TEST_F (EngineTest, OnlyExpectedReplyTypesAreTaken)
{
    io.setResponder ([] (const FakePacketIO::Packet&) { return Packets { { 0xC2, 0x00 } }; });

    uint8_t buffer[64];
    TessarineProtocol::MessageBuffer reply { buffer, sizeof (buffer) };
    const auto send = [&] (int) { const uint8_t b[] = { 0xB5, 0x00 }; return io.sendPacket (b, 2); };

    EXPECT_STREQ (engine.doPacketTransaction (reply, { 0xC0, 0xC1 }, send).error, "Timeout");
    EXPECT_TRUE (log.contains ("WARNING: Unhandled packet!"));

    // An empty set refuses everything.
    EXPECT_STREQ (engine.doPacketTransaction (reply, {}, send).error, "Timeout");
}

TEST_F (EngineTest, ReplyLargerThanTheBufferFails)
{
    io.setResponder ([] (const FakePacketIO::Packet&) { return Packets { { 0xC0, 0x03, 1, 2, 3 } }; });

    uint8_t buffer[4] = { 9, 9, 9, 9 };
    TessarineProtocol::MessageBuffer reply { buffer, sizeof (buffer) };
    bool got = false;
    const Result r = engine.doPacketTransactionWithTimeout (reply, { 0xC0 }, 1000, got, [&] (int) {
        const uint8_t b[] = { 0xB5, 0x00 };
        return io.sendPacket (b, 2);
    });

    EXPECT_STREQ (r.error, "Buffer too small: %d > %d");
    EXPECT_TRUE (got);
    EXPECT_TRUE (log.contains ("Buffer too small: 5 > 4"));
    EXPECT_EQ (hex (buffer, 4), "09 09 09 09");
}

TEST_F (EngineTest, SendFailureIsReturnedAndTheMatcherRemoved)
{
    const Result failure = TESSARINE_ERROR ("hid_write incomplete");
    io.failSend (1, failure);

    uint8_t buffer[64];
    TessarineProtocol::MessageBuffer reply { buffer, sizeof (buffer) };
    const Result r = engine.doPacketTransaction (reply, { 0xC0 }, [&] (int) {
        const uint8_t b[] = { 0xB4, 0x00 };
        return io.sendPacket (b, 2);
    });

    EXPECT_EQ (r.error, failure.error);
    log.clear();
    io.deliver (ackPacket());
    EXPECT_TRUE (log.contains ("Unhandled packet!"));
}

TEST (EngineWaiting, TransportLossWakesTheWaiter)
{
    LogCapture log;

    for (int lostState : { 0, 2 })
    {
        FakePacketIO io;
        TessarineProtocol engine (&io, 1, { 10000, 10000 });

        std::thread transport ([&] {
            while (io.sentPackets().empty())
                std::this_thread::sleep_for (std::chrono::milliseconds (1));
            std::this_thread::sleep_for (std::chrono::milliseconds (10));
            io.reportState (lostState);
        });

        uint8_t buffer[64];
        TessarineProtocol::MessageBuffer reply { buffer, sizeof (buffer) };
        const auto started = std::chrono::steady_clock::now();
        const Result r = engine.doPacketTransaction (reply, { 0xC0 }, [&] (int) {
            const uint8_t b[] = { 0xB4, 0x00 };
            return io.sendPacket (b, 2);
        });
        transport.join();

        EXPECT_STREQ (r.error, "Disconnect/error while waiting");
        EXPECT_LT (std::chrono::steady_clock::now() - started, std::chrono::seconds (5));
        EXPECT_EQ (engine.getState(), (uint32_t) lostState);
    }
}

// A malformed packet sets the error state but does not end the wait: the
// reply that follows it is still taken; only later transactions are refused.
TEST_F (EngineTest, MalformedPacketDoesNotEndTheRunningTransaction)
{
    io.setResponder ([] (const FakePacketIO::Packet&) { return Packets { { 0xC0 }, { 0xC0, 0x00 } }; });

    uint8_t buffer[64];
    TessarineProtocol::MessageBuffer reply { buffer, sizeof (buffer) };
    const auto send = [&] (int) { const uint8_t b[] = { 0xB4, 0x00 }; return io.sendPacket (b, 2); };

    EXPECT_TRUE (engine.doPacketTransaction (reply, { 0xC0 }, send).ok);
    EXPECT_EQ (engine.getState(), 2u);
    EXPECT_EQ (io.flushCount(), 1u);
    EXPECT_STREQ (engine.doPacketTransaction (reply, { 0xC0 }, send).error, "Invalid state");
}

// A reply the matcher takes while the waiter's period runs out is a reply:
// the transaction returns the matcher's result, never a bare success with
// gotResponse set. The listener stalls the engine's state mutex across the
// deadline so that the reply lands between the time-out and the waiter
// taking the mutex back.
TEST_F (EngineTest, ReplyTakenAtTheDeadlineIsNotATimeout)
{
    RecordingProtocolListener listener;
    listener.setOnStateChange ([] (int) { std::this_thread::sleep_for (std::chrono::milliseconds (30)); });
    engine.setHandler (&listener);

    for (int attempt = 0; attempt < 10; ++attempt)
    {
        io.clearSentPackets();
        std::thread pedal ([&] {
            while (io.sentPackets().empty())
                std::this_thread::sleep_for (std::chrono::microseconds (200));
            io.reportState (1);                         // holds the state mutex past the deadline
            io.deliver ({ 0xC0, 0x03, 1, 2, 3 });       // too big for the 4-byte buffer
        });

        uint8_t buffer[4];
        TessarineProtocol::MessageBuffer reply { buffer, sizeof (buffer) };
        bool got = false;
        const Result r = engine.doPacketTransactionWithTimeout (reply, { 0xC0 }, 10, got, [&] (int) {
            const uint8_t b[] = { 0xB4, 0x00 };
            return io.sendPacket (b, 2);
        });
        pedal.join();

        if (got)
            EXPECT_STREQ (r.error, "Buffer too small: %d > %d") << "attempt " << attempt;
        else
            EXPECT_TRUE (r.ok) << "attempt " << attempt;
    }
}

//==============================================================================
TEST_F (EngineTest, ReportsAreCheckedForLength)
{
    RecordingProtocolListener listener;
    engine.setHandler (&listener);

    // A full 64-byte report whose packet is five bytes long.
    FakePacketIO::Packet report (64, 0xAA);
    report[0] = 0xCE;
    report[1] = 3;
    io.deliver (report);
    ASSERT_EQ (listener.messages().size(), 1u);
    EXPECT_EQ (hex (listener.messages()[0]), "AA AA AA");
    EXPECT_EQ (engine.getState(), 1u);

    io.deliver ({ 0xCE, 0x03, 1, 2 });
    EXPECT_TRUE (log.contains ("Packet/msg length mismatch! (4 != 5)"));
    EXPECT_EQ (engine.getState(), 2u);
    EXPECT_EQ (io.flushCount(), 1u);
    EXPECT_EQ (listener.messages().size(), 1u);

    engine.clearErrorState();
    io.deliver ({ 0xC0 });
    EXPECT_TRUE (log.contains ("Short packet/msg!"));
    EXPECT_EQ (engine.getState(), 2u);
    EXPECT_EQ (io.flushCount(), 2u);
}

TEST_F (EngineTest, StatusPacketsGoToTheListenerOtherStrayPacketsAreLogged)
{
    RecordingProtocolListener listener;
    engine.setHandler (&listener);
    const auto status = bytesFromHex ("CE 0B 10 20 30 40 50 60 70 80 02 01 00");

    // While a transaction waits for its acknowledgement.
    io.setResponder ([&] (const FakePacketIO::Packet&) { return Packets { status, ackPacket() }; });
    uint8_t buffer[64];
    TessarineProtocol::MessageBuffer reply { buffer, sizeof (buffer) };
    EXPECT_TRUE (engine.doPacketTransaction (reply, { 0xC0 }, [&] (int) {
        const uint8_t b[] = { 0xB4, 0x00 };
        return io.sendPacket (b, 2);
    }).ok);

    ASSERT_EQ (listener.messages().size(), 1u);
    EXPECT_EQ (hex (listener.messages()[0]), "10 20 30 40 50 60 70 80 02 01 00");
    EXPECT_FALSE (log.contains ("Unhandled packet!"));

    io.deliver (ackPacket());
    EXPECT_TRUE (log.contains ("WARNING: Unhandled packet!"));
}

// The application deletes a listener (the editor service) as soon as it has
// detached it, so a status callback already running must be waited for.
TEST_F (EngineTest, DetachWaitsForAStatusCallbackInProgress)
{
    struct HeldListener : TessarineProtocol::Handler
    {
        std::mutex mutex;
        std::condition_variable changed;
        int calls = 0;
        bool released = false;

        void connectionStateChanged (int) override {}
        void messageReceived (const uint8_t*, size_t) override
        {
            std::unique_lock<std::mutex> lock (mutex);
            ++calls;
            changed.notify_all();
            changed.wait_for (lock, std::chrono::seconds (10), [&] { return released; });
        }
    } held;

    engine.setHandler (&held);
    const auto status = bytesFromHex ("CE 0B 10 20 30 40 50 60 70 80 02 01 00");
    std::thread reader ([&] { io.deliver (status); });

    {
        std::unique_lock<std::mutex> lock (held.mutex);
        ASSERT_TRUE (held.changed.wait_for (lock, std::chrono::seconds (10), [&] { return held.calls == 1; }));
    }

    std::atomic<bool> detached { false };
    std::thread detacher ([&] {
        engine.setHandler (nullptr);
        detached = true;
    });

    // Time for a detach that does not wait to return; one that waits never does.
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds (200);

    while (! detached && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for (std::chrono::milliseconds (1));

    EXPECT_FALSE (detached.load());

    {
        std::lock_guard<std::mutex> lock (held.mutex);
        held.released = true;
        held.changed.notify_all();
    }

    reader.join();
    detacher.join();
    EXPECT_TRUE (detached.load());

    io.deliver (status);
    EXPECT_EQ (held.calls, 1);
    EXPECT_TRUE (log.contains ("WARNING: Unhandled packet!"));
}

//==============================================================================
TEST_F (EngineTest, WriteOf124BytesIsTwoChunksAndATrailer)
{
    io.setResponder (FakePacketIO::acknowledgeEverything());
    const auto block = countingBytes (124);

    ASSERT_TRUE (engine.sendData (3, 2, block.data(), block.size()).ok);

    const uint16_t sum = TessarinePacket::checksum (block.data(), block.size());
    const std::vector<std::string> expected {
        "C2 00",
        "C3 3E " + hex (block.data(), 62),
        "C3 3E " + hex (block.data() + 62, 62),
        "C4 07 03 02 00 1F 00 " + hex ({ (uint8_t) sum, (uint8_t) (sum >> 8) }),
    };
    EXPECT_EQ (sentHex(), expected);
}

TEST_F (EngineTest, WriteWaitsForEachAcknowledgement)
{
    io.setResponder (FakePacketIO::replyInOrder ({ { ackPacket() }, { ackPacket() } }));
    const auto block = countingBytes (124);

    const Result r = engine.sendData (3, 2, block.data(), block.size());
    EXPECT_STREQ (r.error, "Timeout");
    EXPECT_EQ (io.sentPackets().size(), 3u);
    EXPECT_EQ (engine.getState(), 2u);
}

TEST_F (EngineTest, EmptyWriteSendsStartAndTrailerOnly)
{
    io.setResponder (FakePacketIO::acknowledgeEverything());
    ASSERT_TRUE (engine.sendData (9, 4, nullptr, 0).ok);
    EXPECT_EQ (sentHex(), (std::vector<std::string> { "C2 00", "C4 07 09 04 00 00 00 00 00" }));
}

TEST_F (EngineTest, WholeKilobyteBlockCarriesItsWordCountAndChecksum)
{
    io.setResponder (FakePacketIO::acknowledgeEverything());
    const auto block = countingBytes (1024, 0x80);

    ASSERT_TRUE (engine.sendData (1, 0, block.data(), block.size()).ok);

    const auto sent = io.sentPackets();
    ASSERT_EQ (sent.size(), 1u + 17u + 1u); // 16 chunks of 62 and one of 32
    std::vector<uint8_t> carried;

    for (size_t i = 1; i <= 17; ++i)
    {
        EXPECT_EQ (sent[i][0], 0xC3);
        EXPECT_EQ (sent[i][1], i < 17 ? 62 : 32);
        carried.insert (carried.end(), sent[i].begin() + 2, sent[i].end());
    }

    EXPECT_EQ (carried, block);
    const uint16_t sum = TessarinePacket::checksum (block.data(), block.size());
    EXPECT_EQ (hex (sent.back()), "C4 07 01 00 00 00 01 " + hex ({ (uint8_t) sum, (uint8_t) (sum >> 8) }));
}

TEST_F (EngineTest, WriteRefusesSizesTheTrailerCannotDescribe)
{
    io.setResponder (FakePacketIO::acknowledgeEverything());
    const std::vector<uint8_t> big (4u * 65536u);

    EXPECT_STREQ (engine.sendData (3, 0, big.data(), 6).error, "Invalid block size");
    EXPECT_STREQ (engine.sendData (3, 0, big.data(), big.size()).error, "Invalid block size");
    EXPECT_TRUE (io.sentPackets().empty());
    EXPECT_EQ (engine.getState(), 1u);

    // The largest count that fits still goes out.
    ASSERT_TRUE (engine.sendData (3, 0, big.data(), 4u * 65535u).ok);
    EXPECT_EQ (hex (io.sentPackets().back()).substr (0, 20), "C4 07 03 00 00 FF FF");
}

//==============================================================================
TEST_F (EngineTest, ReadAssemblesTheChunksAndCountsThem)
{
    const auto block = countingBytes (124, 3);
    io.setResponder (FakePacketIO::replyInOrder (readAnswers (block)));

    std::vector<uint8_t> buffer (124);
    size_t received = 0;
    ASSERT_TRUE (engine.readData (6, 0x0102, buffer.data(), buffer.size(), received).ok);

    EXPECT_EQ (received, 124u);
    EXPECT_EQ (buffer, block);
    EXPECT_EQ (sentHex(), (std::vector<std::string> { "C5 05 06 02 01 00 00", "C0 00", "C0 00", "C0 00" }));
}

TEST_F (EngineTest, ReadBeyondTheCapacityIsCountedButNotStored)
{
    const auto block = countingBytes (124, 1);
    io.setResponder (FakePacketIO::replyInOrder (readAnswers (block)));

    std::vector<uint8_t> buffer (110, 0xEE);
    size_t received = 0;
    ASSERT_TRUE (engine.readData (3, 0, buffer.data(), 100, received).ok);

    EXPECT_EQ (received, 124u);
    EXPECT_TRUE (std::equal (buffer.begin(), buffer.begin() + 100, block.begin()));
    EXPECT_EQ (buffer[100], 0xEE);
}

//==============================================================================
TEST_F (EngineTest, FirmwareImageOfOneChunk)
{
    io.setResponder (FakePacketIO::acknowledgeEverything());
    const auto image = countingBytes (62, 0x40);
    std::vector<double> progress;

    ASSERT_TRUE (engine.sendFirmwareForSingleDSP (0, image.data(), image.size(),
                                                  [&] (double p) { progress.push_back (p); }).ok);

    EXPECT_EQ (sentHex(), (std::vector<std::string> { "B1 05 00 91 5C 7D 3A", "B2 3E " + hex (image) }));
    EXPECT_EQ (progress, std::vector<double> { 1.0 });
}

TEST_F (EngineTest, FirmwareImageEndingInAShortChunk)
{
    io.setResponder (FakePacketIO::acknowledgeEverything());
    const auto image = countingBytes (130);
    std::vector<double> progress;

    ASSERT_TRUE (engine.sendFirmwareForSingleDSP (1, image.data(), image.size(),
                                                  [&] (double p) { progress.push_back (p); }).ok);

    const auto sent = sentHex();
    ASSERT_EQ (sent.size(), 4u);
    EXPECT_EQ (sent[0], "B1 05 01 91 5C 7D 3A");
    EXPECT_EQ (sent[1], "B2 3E " + hex (image.data(), 62));
    EXPECT_EQ (sent[2], "B2 3E " + hex (image.data() + 62, 62));
    EXPECT_EQ (sent[3], "B2 06 " + hex (image.data() + 124, 6));
    EXPECT_EQ (progress, (std::vector<double> { 62.0 / 130.0, 124.0 / 130.0, 1.0 }));

    // No progress callback is fine too.
    io.clearSentPackets();
    EXPECT_TRUE (engine.sendFirmwareForSingleDSP (0, image.data(), image.size(), nullptr).ok);
    EXPECT_EQ (io.sentPackets().size(), 4u);
}

TEST_F (EngineTest, EmptyFirmwareImageIsRefusedBeforeAnythingIsSent)
{
    io.setResponder (FakePacketIO::acknowledgeEverything());
    int calls = 0;

    EXPECT_STREQ (engine.sendFirmwareForSingleDSP (0, nullptr, 0, [&] (double) { ++calls; }).error,
                  "Empty firmware image");
    EXPECT_TRUE (io.sentPackets().empty());
    EXPECT_EQ (calls, 0);
    EXPECT_EQ (engine.getState(), 1u);
}

// Progress counts what went out, before the pedal's answer to it.
TEST_F (EngineTest, FirmwareProgressIsReportedBeforeTheAnswer)
{
    const auto image = countingBytes (200);
    io.setResponder (FakePacketIO::replyInOrder ({ { ackPacket() }, { ackPacket() }, { nackPacket() } }));
    std::vector<double> progress;

    EXPECT_STREQ (engine.sendFirmwareForSingleDSP (0, image.data(), image.size(),
                                                   [&] (double p) { progress.push_back (p); }).error,
                  "Got NACK during write transfer");
    EXPECT_EQ (progress, (std::vector<double> { 62.0 / 200.0, 124.0 / 200.0 }));
}
