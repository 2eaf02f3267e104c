// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "QuorbelEditorService.h"
#include "Support/DeviceTap.h"
#include "Support/LogCapture.h"
#include "Support/ServiceFixtureBase.h"
#include "Support/SimulatedPedal.h"
#include "TessarineProtocol.h"
#include "TessarineUSBPacketIO.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace ServiceTestSupport
{

using Service = Quorbel::QuorbelEditorService;
using State = Service::State;
using Packet = std::vector<uint8_t>;

/** A pedal as the application connects it, like TestSupport::PedalConnection
    but with a DeviceTap between the transport and the simulated pedal, so a
    test can rewrite what the pedal receives. Deleted in the application's
    order: protocol, transport. */
struct TappedConnection
{
    TappedConnection (TestSupport::SimulatedPedal& pedal, Tessarine::TessarineProtocol::Timeouts timeouts)
        : tap (pedal), transport (&tap), protocol (&transport, 1, timeouts)
    {
    }

    TestSupport::DeviceTap tap;
    Tessarine::TessarineUSBPacketIO transport;
    Tessarine::TessarineProtocol protocol;
};

/** Records every listener callback, in order, and lets a test wait for them. */
class RecordingListener : public Service::Listener
{
public:
    struct ParameterChange
    {
        QuorbelParamID id;
        Service::ParameterValue value;
    };

    RecordingListener();

    std::vector<State> states() const;
    std::vector<ParameterChange> parameters() const;
    int dataChanges() const;
    void clear();

private:
    mutable std::mutex mutex;
    std::vector<State> stateLog;
    std::vector<ParameterChange> parameterLog;
    int dataCount = 0;
};

/** Stops the first thread that reaches a chosen point (a report written to
    the pedal, a log line) right there, until the test releases it (ten
    seconds at most). Later threads, and every thread once released, pass on.
    The hook that holds shares it, so it outlives a test that stops early. */
class ThreadHold
{
public:
    /** Holds the thread that writes the first report of this packet type,
        inside the tap's write (with the transport's lock held). */
    static std::shared_ptr<ThreadHold> atWrite (TestSupport::DeviceTap& tap, uint8_t packetType);

    /** Holds the first thread to log a line that `matches`, inside its log
        call; whatever locks it logs under stay held. */
    static std::shared_ptr<ThreadHold> atLogLine (TestSupport::LogCapture& log,
                                                  std::function<bool (const std::string& line)> matches);

    bool waitUntilHolding();
    /** False if the held thread had already gone on by itself (after ten seconds). */
    bool release();

private:
    void holdOnce();
    bool isSpent();

    std::mutex mutex;
    std::condition_variable changed;
    bool holding = false, released = false, gaveUp = false;
};

/** A service with a listener and a fake sleeper, and helpers to plug and unplug
    the simulated pedal as the application would. */
class ServiceFixture : public TestSupport::ServiceFixtureBase
{
protected:
    ServiceFixture();
    ~ServiceFixture() override;

    /** Builds a connection over the pedal and attaches it; returns connect's result. */
    Tessarine::Result attach();

    /** Attaches and waits for the refresh to end in Idle. */
    void attachAndSettle();

    /** The application's side of a removal: detach, then delete the connection. */
    void detach();

    /** The pedal goes away, then the application detaches. */
    void unplug();

    /** Waits until the service has been in `state` with no task left to run:
        queues a trivial refresh behind whatever is running when Idle. */
    bool waitForState (State state);

    /** Every packet the pedal received of this type, report id removed. */
    std::vector<Packet> packetsOfType (uint8_t type) const;

    static std::vector<uint8_t> paramBlock (const std::map<uint32_t, uint32_t>& params);
    static uint32_t wordOf (float f);

    RecordingListener listener;
    std::unique_ptr<TappedConnection> connection;
};

} // namespace ServiceTestSupport
