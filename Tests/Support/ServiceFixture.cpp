// SPDX-License-Identifier: GPL-3.0-or-later
#include "Support/ServiceFixture.h"

#include "TessarineData.h"

#include <cstring>
#include <thread>

namespace ServiceTestSupport
{

RecordingListener::RecordingListener()
{
    onDataChanged = [this] {
        std::lock_guard<std::mutex> lock (mutex);
        ++dataCount;
    };
    onStateChanged = [this] (State s) {
        std::lock_guard<std::mutex> lock (mutex);
        stateLog.push_back (s);
    };
    onParameterChanged = [this] (QuorbelParamID id, const Service::ParameterValue& v) {
        std::lock_guard<std::mutex> lock (mutex);
        parameterLog.push_back ({ id, v });
    };
}

std::vector<State> RecordingListener::states() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return stateLog;
}

std::vector<RecordingListener::ParameterChange> RecordingListener::parameters() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return parameterLog;
}

int RecordingListener::dataChanges() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return dataCount;
}

void RecordingListener::clear()
{
    std::lock_guard<std::mutex> lock (mutex);
    stateLog.clear();
    parameterLog.clear();
    dataCount = 0;
}

//==============================================================================
std::shared_ptr<ThreadHold> ThreadHold::atWrite (TestSupport::DeviceTap& tap, uint8_t packetType)
{
    auto hold = std::make_shared<ThreadHold>();
    tap.setWriteFilter ([hold, packetType] (TestSupport::DeviceTap::Report& report) {
        if (report.size() > 1 && report[1] == packetType)
            hold->holdOnce();
    });
    return hold;
}

std::shared_ptr<ThreadHold> ThreadHold::atLogLine (TestSupport::LogCapture& log,
                                                   std::function<bool (const std::string& line)> matches)
{
    auto hold = std::make_shared<ThreadHold>();
    log.setLineHook ([hold, matches] (const std::string& line) {
        if (! hold->isSpent() && matches (line))
            hold->holdOnce();
    });
    return hold;
}

bool ThreadHold::waitUntilHolding()
{
    std::unique_lock<std::mutex> lock (mutex);
    return changed.wait_for (lock, std::chrono::seconds (10), [this] { return holding; });
}

bool ThreadHold::release()
{
    std::lock_guard<std::mutex> lock (mutex);
    released = true;
    changed.notify_all();
    return ! gaveUp;
}

void ThreadHold::holdOnce()
{
    std::unique_lock<std::mutex> lock (mutex);

    if (holding)
        return;

    holding = true;
    changed.notify_all();
    gaveUp = ! changed.wait_for (lock, std::chrono::seconds (10), [this] { return released; });
}

bool ThreadHold::isSpent()
{
    std::lock_guard<std::mutex> lock (mutex);
    return holding || released;
}

//==============================================================================
ServiceFixture::ServiceFixture()
{
    service->addListener (&listener);
}

ServiceFixture::~ServiceFixture()
{
    service->removeListener (&listener);
    // As the application shuts down: the service (joining its worker), then
    // the connection.
    service.reset();
    connection.reset();
}

Tessarine::Result ServiceFixture::attach()
{
    connection = std::make_unique<TappedConnection> (pedal, timeouts);
    // The transport's reader reports "running" a moment after it starts; the
    // real settle time covers that, the fake one does not.
    if (! waitFor ([&] { return connection->protocol.getState() == Tessarine::TessarineProtocol::stateConnected; }))
        return TESSARINE_ERROR ("Transport never started");

    return service->connect (&connection->protocol);
}

void ServiceFixture::attachAndSettle()
{
    const size_t parametersBefore = listener.parameters().size();
    // The pedal answers the refresh's request for status reports with one at
    // once, whose nine live values are applied on the reader thread.
    ASSERT_TRUE (attachAndAwaitStatusRequest ([&] { return attach(); }));
    ASSERT_TRUE (waitFor ([&] { return listener.parameters().size() >= parametersBefore + 9; }));
    ASSERT_TRUE (waitFor ([&] { return service->getState() == State::Idle; }));
}

void ServiceFixture::detach()
{
    service->disconnect();
    connection.reset();
}

void ServiceFixture::unplug()
{
    pedal.unplug();
    detach();
}

bool ServiceFixture::waitForState (State state)
{
    if (! waitFor ([&] { return service->getState() == state; }))
        return false;

    if (state != State::Idle)
        return true;

    // Idle may be set by a task that still has steps to go; a task queued now
    // runs after it, so its end means the worker is done with it.
    const int before = listener.dataChanges();

    if (! service->requestRefreshCurrentPreset())
        return false;

    return waitFor ([&] { return listener.dataChanges() >= before + 2 || service->getState() != State::Idle; })
        && service->getState() == state;
}

std::vector<Packet> ServiceFixture::packetsOfType (uint8_t type) const
{
    std::vector<Packet> found;

    for (const auto& p : pedal.receivedPackets())
        if (! p.empty() && p[0] == type)
            found.push_back (p);

    return found;
}

std::vector<uint8_t> ServiceFixture::paramBlock (const std::map<uint32_t, uint32_t>& params)
{
    std::vector<uint8_t> block (1024);
    Tessarine::TessarineData::encodeParamList (block.data(), params);
    return block;
}

uint32_t ServiceFixture::wordOf (float f)
{
    uint32_t w;
    std::memcpy (&w, &f, 4);
    return w;
}

} // namespace ServiceTestSupport
