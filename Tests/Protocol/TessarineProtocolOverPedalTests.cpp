// SPDX-License-Identifier: GPL-3.0-or-later
// The engine with the real transport and its reader thread, over the
// simulated pedal: what the editor service will see, failure by failure.
#include "TessarineProtocol.h"
#include "Support/ByteFixtures.h"
#include "Support/Hex.h"
#include "Support/LogCapture.h"
#include "Support/PedalConnection.h"
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
using TestSupport::bytesFromHex;
using TestSupport::countingBytes;
using TestSupport::hex;
using TestSupport::LogCapture;
using TestSupport::PedalConnection;
using TestSupport::RecordingProtocolListener;
using TestSupport::SimulatedPedal;
using Fault = SimulatedPedal::Fault;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace
{
// Answers that come are waited for long: on a loaded machine one may take a
// while. Only the tests whose answers never come (or come too late) shorten
// the time-outs, so they end quickly.
constexpr TessarineProtocol::Timeouts patientTimeouts { 10000, 10000 };
constexpr TessarineProtocol::Timeouts fastTimeouts { 100, 60 };

class OverPedalBase : public ::testing::Test
{
protected:
    explicit OverPedalBase (TessarineProtocol::Timeouts timeouts) : connection (pedal, timeouts) {}

    void SetUp() override { ASSERT_TRUE (connection.isConnected()); }

    TessarineProtocol& engine() { return connection.protocol(); }

    /** Polls the captured log (ten seconds at most). */
    bool waitForLog (const std::string& fragment) const
    {
        const auto end = Clock::now() + 10s;

        while (! log.contains (fragment))
        {
            if (Clock::now() > end)
                return false;

            std::this_thread::sleep_for (1ms);
        }

        return true;
    }

    LogCapture log; // installed before the reader thread starts, removed after it ends
    SimulatedPedal pedal;
    PedalConnection connection;
};

class OverPedal : public OverPedalBase
{
protected:
    OverPedal() : OverPedalBase (patientTimeouts) {}
};

class OverPedalTimingOut : public OverPedalBase
{
protected:
    OverPedalTimingOut() : OverPedalBase (fastTimeouts) {}
};

Data::Cabinet rampCabinet()
{
    Data::Cabinet cab;
    for (size_t c = 0; c < 2; ++c)
        for (size_t i = 0; i < 1024; ++i)
            cab.impulse[c][i] = (float) i / 1024.0f - (float) c;
    cab.name = "Ramp 2x12";
    return cab;
}
} // namespace

//==============================================================================
TEST_F (OverPedal, EveryBlockRoundTripsThroughTheTransport)
{
    const Data::ParamMap globals { { 3, 30 }, { 4, 40 } };
    const Data::ParamMap preset { { 100, 0x3F800000 }, { 101, 0 }, { 7, 1 } };
    const Data::AmpNameAndID amp { 42, "Plexi" };
    Data::AmpData ampData;
    ampData.params = { { 1, 2 }, { 3, 4 } };
    ampData.name = "Plexi 1968";
    ampData.name2 = "Lead";
    Data::FinishingFilterBlock filter {};
    filter[0] = 0x11;
    filter[4095] = 0x22;
    const Data::Cabinet cab = rampCabinet();

    ASSERT_TRUE (engine().setGlobals (globals).ok);
    ASSERT_TRUE (engine().setPreset (2, preset).ok);
    ASSERT_TRUE (engine().setAmpNameAndID (2, amp).ok);
    ASSERT_TRUE (engine().setAmpData (2, ampData).ok);
    ASSERT_TRUE (engine().setFinishingFilter (2, filter).ok);
    ASSERT_TRUE (engine().setCabName (2, cab.name).ok);
    ASSERT_TRUE (engine().setCabData (2, cab.impulse).ok);
    EXPECT_EQ (pedal.storedBlocks().size(), 7u);
    EXPECT_EQ (pedal.refusedWrites(), 0u);

    Data::ParamMap globalsBack, presetBack;
    Data::AmpNameAndID ampBack;
    Data::AmpData ampDataBack;
    Data::FinishingFilterBlock filterBack {};
    Data::Cabinet cabBack;
    ASSERT_TRUE (engine().getGlobals (globalsBack).ok);
    ASSERT_TRUE (engine().getPreset (2, presetBack).ok);
    ASSERT_TRUE (engine().getAmpNameAndID (2, ampBack).ok);
    ASSERT_TRUE (engine().getAmpData (2, ampDataBack).ok);
    ASSERT_TRUE (engine().getFinishingFilter (2, filterBack).ok);
    ASSERT_TRUE (engine().getCabName (2, cabBack.name).ok);
    ASSERT_TRUE (engine().getCabData (2, cabBack.impulse).ok);

    EXPECT_EQ (globalsBack, globals);
    EXPECT_EQ (presetBack, preset);
    EXPECT_EQ (ampBack.id, 42u);
    EXPECT_EQ (ampBack.name, "Plexi");
    EXPECT_EQ (ampDataBack.params, ampData.params);
    EXPECT_EQ (ampDataBack.name, ampData.name);
    EXPECT_EQ (ampDataBack.name2, ampData.name2);
    EXPECT_EQ (filterBack, filter);
    EXPECT_EQ (cabBack.name, cab.name);
    EXPECT_EQ (std::memcmp (cabBack.impulse, cab.impulse, sizeof (cab.impulse)), 0);

    // Each packet went out as one report: id 0, then the packet, unpadded.
    for (const auto& report : pedal.receivedReports())
    {
        ASSERT_GE (report.size(), 3u);
        EXPECT_EQ (report[0], 0);
        EXPECT_EQ (report.size(), report[2] + 3u);
    }
}

//==============================================================================
// Each fault, the failure text it gives and the state it leaves.
namespace
{
struct FaultCase
{
    const char* name;
    uint8_t faultType;
    size_t nth;
    Fault fault;
    std::function<Result (TessarineProtocol&)> operation;
    const char* text;
    uint32_t state;
};

const auto readCab = [] (TessarineProtocol& e) { std::string n; return e.getCabName (0, n); };
const auto writeFilter = [] (TessarineProtocol& e) {
    Data::FinishingFilterBlock f {};
    return e.setFinishingFilter (0, f);
};
const auto version = [] (TessarineProtocol& e) { Data::FirmwareVersionInfo v; return e.getFirmwareVersionInfo (v); };
} // namespace

TEST_F (OverPedal, EachRefusalGivesItsFailureAndState)
{
    const auto block = countingBytes (248);
    const auto firmware = [block] (TessarineProtocol& e) { return e.sendFirmware (block, nullptr); };
    const auto change = [] (TessarineProtocol& e) { return e.setCurrentPreset (1); };
    const auto request = [] (TessarineProtocol& e) { uint32_t p; return e.getCurrentPreset (p); };

    const std::vector<FaultCase> cases {
        { "read start refused", 0xC5, 1, Fault::nack(), readCab, "Got NACK waiting for TRANSFER_START", 2 },
        { "read refused midway", 0xC0, 1, Fault::nack(), readCab, "Got unexpected NACK during read transfer", 2 },
        { "write start refused", 0xC2, 1, Fault::nack(), writeFilter, "Got NACK waiting for TRANSFER_START", 1 },
        { "write chunk refused", 0xC3, 3, Fault::nack(), writeFilter, "Got NACK during write transfer", 2 },
        { "write trailer refused", 0xC4, 1, Fault::nack(), writeFilter, "Got NACK during write transfer", 2 },
        { "firmware start refused", 0xB1, 1, Fault::nack(), firmware, "Got NACK for firmware start", 1 },
        { "firmware chunk refused", 0xB2, 2, Fault::nack(), firmware, "Got NACK during write transfer", 2 },
        { "program change refused", 0xC9, 1, Fault::nack(), change, "Got NACK for program change", 2 },
        { "program request refused", 0xCA, 1, Fault::nack(), request, "Got NACK for program request", 2 },
        { "version refused", 0xB5, 1, Fault::nack(), version, "Got NACK for version request", 1 },
    };

    for (const auto& c : cases)
    {
        engine().clearErrorState();
        pedal.clearFaults();
        pedal.injectFault (c.faultType, c.fault, c.nth);

        const Result r = c.operation (engine());
        EXPECT_STREQ (r.error, c.text) << c.name;
        EXPECT_EQ (engine().getState(), c.state) << c.name;
    }

    // And the pedal is still usable once the host recovers.
    engine().clearErrorState();
    bool alive = false;
    ASSERT_TRUE (engine().ping (alive).ok);
    EXPECT_TRUE (alive);
}

TEST_F (OverPedalTimingOut, EachMissingAnswerIsATimeout)
{
    // Late by ten reply time-outs, so a waiter held up on a busy machine still
    // has long given up when it comes.
    const std::vector<FaultCase> cases {
        { "read chunk lost", 0xC0, 1, Fault::lose(), readCab, "Timeout", 2 },
        { "write chunk answered late", 0xC3, 2, Fault::delayBy (1000ms), writeFilter, "Timeout", 2 },
        { "version lost", 0xB5, 1, Fault::lose(), version, "Timeout", 1 },
    };

    for (const auto& c : cases)
    {
        engine().clearErrorState();
        pedal.clearFaults();
        pedal.injectFault (c.faultType, c.fault, c.nth);
        log.clear();

        const Result r = c.operation (engine());
        EXPECT_STREQ (r.error, c.text) << c.name;
        EXPECT_EQ (engine().getState(), c.state) << c.name;

        // The late answer arrives where nothing waits for it, and is only
        // logged; the next case starts after it.
        if (c.fault.kind == Fault::Kind::delay)
        {
            EXPECT_TRUE (waitForLog ("WARNING: Unhandled packet!")) << c.name;
        }
    }

    engine().clearErrorState();
    bool alive = false;
    ASSERT_TRUE (engine().ping (alive).ok);
    EXPECT_TRUE (alive);
}

TEST_F (OverPedal, AnswerWithinTheTimeoutIsNoFailure)
{
    pedal.injectFault (0xC3, Fault::delayBy (20ms), 1, 3);
    const Data::FinishingFilterBlock filter {};
    EXPECT_TRUE (engine().setFinishingFilter (3, filter).ok);
    EXPECT_EQ (engine().getState(), 1u);
}

TEST_F (OverPedalTimingOut, TimeOutsAreThoseGiven)
{
    pedal.injectFault (0xC9, Fault::lose());
    auto started = Clock::now();
    EXPECT_STREQ (engine().setCurrentPreset (1).error, "Timeout");
    auto waited = Clock::now() - started;
    EXPECT_GE (waited, 100ms);
    EXPECT_LT (waited, 2s);

    engine().clearErrorState();
    pedal.injectFault (0xB4, Fault::lose());
    bool alive = true;
    started = Clock::now();
    EXPECT_TRUE (engine().ping (alive).ok);
    waited = Clock::now() - started;
    EXPECT_FALSE (alive);
    EXPECT_GE (waited, 60ms);
    EXPECT_LT (waited, 2s);
    EXPECT_EQ (engine().getState(), 1u);
}

// A garbled answer sets the error state at once but does not wake the
// waiting request: it runs into its time-out, and later requests are refused.
// The pedal answers 300 ms late so that the request is surely waiting by then
// (one that has not begun to wait sees the error state at once instead), and
// the request waits a second, so the answer surely comes within it.
TEST (OverPedalGarbled, MalformedAnswersEndInTimeoutAndErrorState)
{
    LogCapture log;
    SimulatedPedal pedal;
    PedalConnection connection (pedal, { 1000, 1000 });
    ASSERT_TRUE (connection.isConnected());
    TessarineProtocol& engine = connection.protocol();
    pedal.setReplyDelay (300ms);

    for (Fault fault : { Fault::corrupt(), Fault::shortReport() })
    {
        engine.clearErrorState();
        log.clear();
        pedal.injectFault (0xCA, fault);

        uint32_t preset = 0;
        const auto started = Clock::now();
        EXPECT_STREQ (engine.getCurrentPreset (preset).error, "Timeout");
        EXPECT_GE (Clock::now() - started, 1000ms);
        EXPECT_EQ (engine.getState(), 2u);
        EXPECT_TRUE (log.contains (fault.kind == Fault::Kind::corrupt ? "Packet/msg length mismatch! (64 != 65)"
                                                                      : "Short packet/msg!"));

        EXPECT_STREQ (engine.setCurrentPreset (1).error, "Invalid state");
    }
}

TEST (OverPedalUnplug, UnplugMidTransferWakesTheWaiter)
{
    LogCapture log;
    SimulatedPedal pedal;
    RecordingProtocolListener listener;
    // A long reply time-out, so only the disconnect can end the wait early.
    PedalConnection connection (pedal, { 10000, 10000 });
    ASSERT_TRUE (connection.isConnected());
    connection.protocol().setHandler (&listener);

    pedal.injectFault (0xC3, Fault::unplug(), 40);
    const Data::Cabinet cab = rampCabinet();
    Result r { false, nullptr };
    Clock::time_point ended;
    std::thread writer ([&] {
        r = connection.protocol().setCabData (1, cab.impulse);
        ended = Clock::now();
    });

    // Timed from the unplug, not from the start: how long the forty chunks
    // before it take depends on the machine.
    const auto giveUp = Clock::now() + 10s;
    while (! pedal.isUnplugged() && Clock::now() < giveUp)
        std::this_thread::sleep_for (1ms);
    const auto unplugged = Clock::now();
    writer.join();

    ASSERT_TRUE (pedal.isUnplugged());
    EXPECT_STREQ (r.error, "Disconnect/error while waiting");
    EXPECT_LT (ended - unplugged, 5s);
    EXPECT_EQ (connection.protocol().getState(), 2u);
    EXPECT_EQ (listener.states().back(), 2);
    EXPECT_TRUE (log.contains ("HID read error: -1"));
    EXPECT_FALSE (pedal.storedBlock (10, 1).has_value());

    // Transactions are refused; a live parameter still tries and fails at the device.
    std::string name;
    EXPECT_STREQ (connection.protocol().getCabName (1, name).error, "Invalid state");
    EXPECT_STREQ (connection.protocol().setParameter (80, 0).error, "hid_write failed with %d");
    connection.protocol().setHandler (nullptr);
}

//==============================================================================
TEST (OverPedalStatus, StatusReportsReachTheListenerWhileARequestWaits)
{
    LogCapture log;
    SimulatedPedal pedal;
    RecordingProtocolListener listener;
    PedalConnection connection (pedal, { 5000, 5000 });
    ASSERT_TRUE (connection.isConnected());
    connection.protocol().setHandler (&listener);
    pedal.setCurrentPreset (5);
    // The program change goes unanswered until the test answers it below, so
    // the request is surely still waiting when the status report comes.
    pedal.injectFault (0xC9, Fault::lose());

    std::atomic<bool> finished { false };
    Result result { false, nullptr };
    std::thread worker ([&] {
        result = connection.protocol().setCurrentPreset (5);
        finished = true;
    });

    const bool received = pedal.waitForReceived (1, 10s);
    pedal.sendStatusReport();
    const bool reported = listener.waitForMessages (1, 10s);
    EXPECT_FALSE (finished);
    pedal.sendReport ({ 0xC0, 0x00 });
    worker.join();

    ASSERT_TRUE (received);
    ASSERT_TRUE (reported);

    EXPECT_TRUE (result.ok);
    EXPECT_EQ (hex (listener.messages()[0]), "00 00 00 00 00 00 00 00 05 01 00");
    EXPECT_FALSE (log.contains ("Unhandled packet!"));
    connection.protocol().setHandler (nullptr);
}

TEST_F (OverPedal, StrayPacketsDuringATransferAreSkipped)
{
    RecordingProtocolListener listener;
    engine().setHandler (&listener);
    pedal.injectFault (0xC5, Fault::extraPacket (bytesFromHex ("C0 00")));
    pedal.injectFault (0xC0, Fault::extraPacket (bytesFromHex ("CE 0B 01 01 01 01 01 01 01 01 00 01 00")), 3);

    Data::AmpData amp;
    ASSERT_TRUE (engine().getAmpData (4, amp).ok);
    EXPECT_EQ (engine().getState(), 1u);
    EXPECT_TRUE (log.contains ("WARNING: Unhandled packet!")); // the stray C0
    ASSERT_TRUE (listener.waitForMessages (1, 10s));
    EXPECT_EQ (listener.messages().size(), 1u);
    engine().setHandler (nullptr);
}

TEST_F (OverPedal, StatusRequestAsksForOneReport)
{
    RecordingProtocolListener listener;
    engine().setHandler (&listener);
    pedal.setPanel ({ { 10, 20, 30, 40, 50, 60, 70, 80 }, 2, 1 });

    ASSERT_TRUE (engine().requestParameterUpdates().ok);
    ASSERT_TRUE (listener.waitForMessages (1, 10s));
    EXPECT_EQ (hex (listener.messages()[0]), "0A 14 1E 28 32 3C 46 50 00 02 01");
    engine().setHandler (nullptr);
}
