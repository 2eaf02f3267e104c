// SPDX-License-Identifier: GPL-3.0-or-later
#include "TessarineUSBPacketIO.h"
#include "Support/FakeUSBHIDDevice.h"
#include "Support/Hex.h"
#include "Support/LogCapture.h"
#include "Support/RecordingPacketHandler.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

using namespace Tessarine;
using TestSupport::bytesFromHex;
using TestSupport::FakeUSBHIDDevice;
using TestSupport::hex;
using TestSupport::RecordingPacketHandler;

namespace
{
using States = std::vector<int>;

std::vector<uint8_t> countingBytes (size_t length)
{
    std::vector<uint8_t> bytes (length);

    for (size_t i = 0; i < length; ++i)
        bytes[i] = (uint8_t) (i + 1);

    return bytes;
}

class TessarineUSBPacketIOTest : public ::testing::Test
{
protected:
    FakeUSBHIDDevice device;
    RecordingPacketHandler handler;
    std::unique_ptr<TessarineUSBPacketIO> transport;

    void SetUp() override { transport = std::make_unique<TessarineUSBPacketIO> (&device); }
    void TearDown() override { transport.reset(); }

    // Once the reader has read, it has reported state 1, so the handler's
    // history starts with exactly that.
    void attachWhenRunning()
    {
        ASSERT_TRUE (device.waitForReadCalls (1));
        transport->setHandler (&handler);
        ASSERT_EQ (handler.states(), (States { 1 }));
    }
};
} // namespace

//==============================================================================
TEST_F (TessarineUSBPacketIOTest, PacketGoesOutAsOneUnpaddedReportWithIdZero)
{
    const auto full = countingBytes (64);
    const auto status = bytesFromHex ("CE 09 01 02 03 04 05 06 07 08 09");

    EXPECT_EQ (transport->sendPacket (full.data(), full.size()), kSuccess);
    EXPECT_EQ (transport->sendPacket (status.data(), status.size()), kSuccess);

    const auto writes = device.writes();
    ASSERT_EQ (writes.size(), 2u);
    ASSERT_EQ (writes[0].size(), 65u);
    EXPECT_EQ (writes[0][0], 0x00);
    EXPECT_EQ (hex (writes[0].data() + 1, 64), hex (full));
    EXPECT_EQ (hex (writes[1]), "00 CE 09 01 02 03 04 05 06 07 08 09");
}

TEST_F (TessarineUSBPacketIOTest, OversizedPacketFailsWithoutWriting)
{
    TestSupport::LogCapture log;
    const auto bytes = countingBytes (65);

    const Result tooLarge = transport->sendPacket (bytes.data(), 65);
    EXPECT_FALSE (tooLarge.ok);
    EXPECT_STREQ (tooLarge.error, "Packet too large");

    // A length that a signed 32-bit test would read as 1.
    if (sizeof (size_t) > 4)
    {
        EXPECT_STREQ (transport->sendPacket (bytes.data(), (size_t) 0x100000001ull).error, "Packet too large");
    }

    EXPECT_TRUE (device.writes().empty());
    EXPECT_TRUE (log.contains ("Packet too large"));
}

TEST_F (TessarineUSBPacketIOTest, WriteOutcomesMapToTheirResults)
{
    TestSupport::LogCapture log;
    const auto packet = countingBytes (11);

    device.setWriteResult (-1);
    const Result failed = transport->sendPacket (packet.data(), packet.size());
    EXPECT_STREQ (failed.error, "hid_write failed with %d");
    EXPECT_TRUE (log.contains ("hid_write failed with -1"));

    // Only the packet's bytes written, without the report id's: one short.
    device.setWriteResult (11);
    EXPECT_STREQ (transport->sendPacket (packet.data(), packet.size()).error, "hid_write incomplete");
    device.setWriteResult (0);
    EXPECT_STREQ (transport->sendPacket (packet.data(), packet.size()).error, "hid_write incomplete");

    device.setWriteResult (12);
    EXPECT_EQ (transport->sendPacket (packet.data(), packet.size()), kSuccess);

    // A write failure is the caller's business; the transport keeps running.
    attachWhenRunning();
}

TEST_F (TessarineUSBPacketIOTest, EmptyPacketIsTheReportIdAlone)
{
    EXPECT_EQ (transport->sendPacket (nullptr, 0), kSuccess);
    ASSERT_EQ (device.writes().size(), 1u);
    EXPECT_EQ (hex (device.writes()[0]), "00");
}

//==============================================================================
TEST_F (TessarineUSBPacketIOTest, ReadsWholeReportsAndHandsThemOverAsRead)
{
    attachWhenRunning();
    device.queueInput (bytesFromHex ("CE 0B 00 01 02 03 04 05 06 07 08 09 0A"));
    device.queueInput (countingBytes (64));

    ASSERT_TRUE (handler.waitForPackets (2));
    const auto packets = handler.packets();
    EXPECT_EQ (hex (packets[0]), "CE 0B 00 01 02 03 04 05 06 07 08 09 0A");
    EXPECT_EQ (hex (packets[1]), hex (countingBytes (64)));
    EXPECT_EQ (device.lastReadLength(), 64u);
    EXPECT_EQ (device.lastReadTimeout(), 1000);
}

TEST_F (TessarineUSBPacketIOTest, TimeOutsDeliverNothingAndReadingGoesOn)
{
    attachWhenRunning();
    const int before = device.readCalls();
    ASSERT_TRUE (device.waitForReadCalls (before + 3));

    EXPECT_TRUE (handler.packets().empty());
    EXPECT_EQ (handler.states(), (States { 1 }));
}

//==============================================================================
TEST_F (TessarineUSBPacketIOTest, StoppingAHealthyTransportReportsRunningThenStopped)
{
    attachWhenRunning();
    transport.reset();
    EXPECT_EQ (handler.states(), (States { 1, 0 }));
}

TEST_F (TessarineUSBPacketIOTest, ReadErrorReportsErrorOnceAndStopsReadingForGood)
{
    TestSupport::LogCapture log;
    attachWhenRunning();

    device.failReads (-1);
    ASSERT_TRUE (handler.waitForStates (2));
    EXPECT_TRUE (log.contains ("HID read error: -1"));

    const int readsAfterError = device.readCalls();
    transport->start(); // never restarted
    std::this_thread::sleep_for (std::chrono::milliseconds (50));
    EXPECT_EQ (device.readCalls(), readsAfterError);

    // Writes are still attempted after a read error.
    const uint8_t packet[] = { 0x01, 0x00 };
    EXPECT_EQ (transport->sendPacket (packet, sizeof (packet)), kSuccess);

    transport.reset();
    EXPECT_EQ (handler.states(), (States { 1, 2 }));
}

TEST_F (TessarineUSBPacketIOTest, HandlerAttachedAtOnceSeesTheStartEitherWay)
{
    FakeUSBHIDDevice ownDevice;
    RecordingPacketHandler ownHandler;
    {
        TessarineUSBPacketIO ownTransport (&ownDevice);
        ownTransport.setHandler (&ownHandler);
        ASSERT_TRUE (ownDevice.waitForReadCalls (1));
    }

    // Attached before the reader started (0, 1, 0) or after (1, 0).
    const auto states = ownHandler.states();
    EXPECT_TRUE (states == (States { 0, 1, 0 }) || states == (States { 1, 0 })) << ::testing::PrintToString (states);
}

TEST_F (TessarineUSBPacketIOTest, StopThenStartRunsTheReaderAgain)
{
    attachWhenRunning();
    transport->stop();
    transport->start();
    ASSERT_TRUE (handler.waitForStates (3));
    EXPECT_EQ (handler.states(), (States { 1, 0, 1 }));
}

//==============================================================================
TEST_F (TessarineUSBPacketIOTest, DetachedHandlerGetsNoPacketsAndNoFinalState)
{
    attachWhenRunning();
    device.queueInput ({ 0x01 });
    ASSERT_TRUE (handler.waitForPackets (1));

    EXPECT_EQ (transport->setHandler (nullptr), kSuccess);
    const int before = device.readCalls();
    device.queueInput ({ 0x02 });
    ASSERT_TRUE (device.waitForReadCalls (before + 2));
    transport.reset();

    EXPECT_EQ (handler.packets().size(), 1u);
    EXPECT_EQ (handler.states(), (States { 1 }));
}

// setHandler (nullptr) waits for a callback in progress, and nothing reaches
// the old handler once it has returned.
TEST_F (TessarineUSBPacketIOTest, NoCallbackRunsAfterDetachReturns)
{
    std::atomic<int> inside { 0 }, entered { 0 };
    std::atomic<bool> violated { false }, detached { false };

    handler.setOnPacket ([&] (const uint8_t*, size_t) {
        if (detached.load())
            violated = true;

        ++inside;
        ++entered;
        std::this_thread::sleep_for (std::chrono::milliseconds (30));
        --inside;
    });

    attachWhenRunning();
    device.queueInput ({ 0x01 });
    device.queueInput ({ 0x02 });

    while (entered.load() == 0)
        std::this_thread::yield();

    transport->setHandler (nullptr);
    detached = true;
    EXPECT_EQ (inside.load(), 0);

    device.queueInput ({ 0x03 });
    const int before = device.readCalls();
    ASSERT_TRUE (device.waitForReadCalls (before + 3));
    transport.reset();

    EXPECT_FALSE (violated.load());
}

// Senders on several threads while the reader delivers their echoes: the one
// mutex must keep writes and callbacks apart (checked by ThreadSanitizer).
TEST_F (TessarineUSBPacketIOTest, ConcurrentSendsWhileCallbacksRun)
{
    device.setWriteHook ([this] (const std::vector<uint8_t>& report) {
        device.queueInput (std::vector<uint8_t> (report.begin() + 1, report.end()));
        return (int) report.size();
    });

    std::atomic<int> delivered { 0 };
    handler.setOnPacket ([&] (const uint8_t* packet, size_t length) {
        EXPECT_EQ (length, 3u);
        EXPECT_EQ (packet[0], 0x30);
        ++delivered;
    });
    attachWhenRunning();

    constexpr int senders = 4, perSender = 100;
    std::vector<std::thread> threads;
    std::atomic<int> failures { 0 };

    for (int t = 0; t < senders; ++t)
        threads.emplace_back ([&, t] {
            for (int i = 0; i < perSender; ++i)
            {
                const uint8_t packet[] = { 0x30, (uint8_t) t, (uint8_t) i };

                if (! transport->sendPacket (packet, sizeof (packet)).ok)
                    ++failures;
            }
        });

    for (auto& thread : threads)
        thread.join();

    EXPECT_EQ (failures.load(), 0);
    ASSERT_TRUE (handler.waitForPackets (senders * perSender, 20000));
    EXPECT_EQ (delivered.load(), senders * perSender);
    EXPECT_EQ (device.writes().size(), (size_t) (senders * perSender));
}
