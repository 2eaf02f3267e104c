// SPDX-License-Identifier: GPL-3.0-or-later
// The firmware update over the simulated pedal: the send, the wait for the
// restarted pedal (in fake 500 ms sleeps), time-out, cancellation and shutdown.
#include "Support/ServiceFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

using namespace ServiceTestSupport;
using Tessarine::TessarineData::QuorbelArchive;
using TestSupport::SimulatedPedal;

namespace
{
QuorbelArchive archiveWithImage (size_t size)
{
    QuorbelArchive archive;
    archive.firmware = std::make_unique<std::vector<uint8_t>> (size);

    for (size_t i = 0; i < size; ++i)
        (*archive.firmware)[i] = (uint8_t) (i * 7);

    return archive;
}

/** What the application thread does, done from inside a fake sleep. */
void onApplicationThread (const std::function<void()>& work)
{
    std::thread app (work);
    app.join();
}

bool seen (const std::vector<State>& states, State s)
{
    return std::find (states.begin(), states.end(), s) != states.end();
}

class Progress
{
public:
    Service::ProgressCallback callback()
    {
        return [this] (double p) {
            std::lock_guard<std::mutex> lock (mutex);
            values.push_back (p);
        };
    }

    std::vector<double> get()
    {
        std::lock_guard<std::mutex> lock (mutex);
        return values;
    }

private:
    std::mutex mutex;
    std::vector<double> values;
};
} // namespace

class FirmwareUpdate : public ServiceFixture
{
protected:
    void SetUp() override
    {
        attachAndSettle();
        sleeper.clear();
        listener.clear();
        pedal.clearReceived();
    }
};

TEST_F (FirmwareUpdate, PedalBackAfterOnePointEightSeconds)
{
    const QuorbelArchive archive = archiveWithImage (200);
    Progress progress;
    State duringDetach = State::Disconnected, afterReattach = State::Disconnected;

    sleeper.setHook ([&] (int count, int ms) {
        if (ms != 500)
            return;

        if (count == 1) // the pedal restarts: gone from USB
            onApplicationThread ([&] {
                pedal.unplug();
                // Its read error reaches us (and is expected) before the detach.
                EXPECT_TRUE (waitFor ([&] { return connection->protocol.getState() == Tessarine::TessarineProtocol::stateError; }));
                detach();
                duringDetach = service->getState();
            });

        if (count == 4) // 1.8 s: back again
            onApplicationThread ([&] {
                pedal.plugIn();
                EXPECT_TRUE (attach());
                afterReattach = service->getState();
            });
    });

    const size_t statusBefore = pedal.statusRequests();
    ASSERT_TRUE (service->beginFirmwareUpdate (archive, progress.callback()));
    ASSERT_TRUE (waitFor ([&] { return pedal.statusRequests() > statusBefore; }));
    ASSERT_TRUE (waitFor ([&] { return service->getState() == State::Idle; }));

    EXPECT_EQ (pedal.firmwareImage(), *archive.firmware);
    EXPECT_EQ (progress.get().back(), 1.0);
    EXPECT_EQ (duringDetach, State::WaitingForReconnect);
    EXPECT_EQ (afterReattach, State::WaitingForReconnect);
    // Four polls (the fourth notices the pedal), then the ready wait, and no
    // settle time: the refresh after an update skips the version check.
    EXPECT_EQ (sleeper.sleeps(), (std::vector<int> { 500, 500, 500, 500, 3000 }));
    EXPECT_TRUE (packetsOfType (0xB5).empty());
    EXPECT_TRUE (packetsOfType (0xB4).empty());
    EXPECT_EQ (listener.states(), (std::vector<State> { State::UpdatingFirmware, State::UpdatingFirmware, State::WaitingForReconnect,
                                                         State::Idle, State::Refreshing, State::Refreshing, State::Idle }));
    EXPECT_TRUE (log.contains ("DEBUG: Starting update"));
    EXPECT_TRUE (log.contains ("DEBUG: Reconnecting"));
    EXPECT_TRUE (log.contains ("DEBUG: Waiting for ready"));
    EXPECT_TRUE (log.contains ("DEBUG: Update complete"));

    // The re-attach consumed the wait: the next removal is an ordinary one.
    detach();
    EXPECT_EQ (service->getState(), State::Disconnected);
}

TEST_F (FirmwareUpdate, NoPedalWithinTheLimitTimesOut)
{
    ASSERT_TRUE (service->beginFirmwareUpdate (archiveWithImage (70), {}));
    ASSERT_TRUE (waitFor ([&] { return service->getState() == State::Error; }));
    EXPECT_EQ (service->getLastError(), "Timeout waiting for reconnect");
    // 500 x 60 = 30000 is the first count at the limit, tested after the 61st sleep.
    EXPECT_EQ (sleeper.count (500), 61);
    EXPECT_EQ (sleeper.sleeps().size(), 61u);

    // The flag is clear again: removal and arrival are ordinary.
    detach();
    EXPECT_EQ (service->getState(), State::Disconnected);
    attachAndSettle();
    EXPECT_EQ (sleeper.count (3000), 1);
    EXPECT_EQ (packetsOfType (0xB5).size(), 1u);
}

TEST_F (FirmwareUpdate, CancelDuringTheWaitLeavesTheState)
{
    sleeper.setHook ([&] (int count, int) {
        if (count == 2)
            onApplicationThread ([&] { service->cancelAll(); });
    });

    ASSERT_TRUE (service->beginFirmwareUpdate (archiveWithImage (10), {}));
    ASSERT_TRUE (waitFor ([&] { return log.contains ("Task cancelled"); }));
    EXPECT_EQ (sleeper.sleeps(), (std::vector<int> { 500, 500 }));
    EXPECT_EQ (service->getState(), State::WaitingForReconnect);
    EXPECT_EQ (service->getLastError(), "");
    EXPECT_FALSE (seen (listener.states(), State::Error));

    detach();
    EXPECT_EQ (service->getState(), State::Disconnected);
}

TEST_F (FirmwareUpdate, ShutdownDuringTheWaitReturns)
{
    sleeper.holdUntilCancelled (3);
    ASSERT_TRUE (service->beginFirmwareUpdate (archiveWithImage (10), {}));
    ASSERT_TRUE (waitFor ([&] { return sleeper.sleeps().size() == 3; }));

    service->removeListener (&listener);
    service.reset(); // detach is ignored (the update waits), the queue's cancel ends the wait
    EXPECT_TRUE (log.contains ("Task cancelled"));
    EXPECT_EQ (sleeper.sleeps().size(), 3u);
    service = std::make_unique<Service> (nullptr, &sleeper);
}

TEST_F (FirmwareUpdate, ArchiveWithoutImageCompletesAtOnce)
{
    const size_t statusBefore = pedal.statusRequests();
    ASSERT_TRUE (service->beginFirmwareUpdate ({}, {}));
    ASSERT_TRUE (waitFor ([&] { return pedal.statusRequests() > statusBefore; }));
    ASSERT_TRUE (waitFor ([&] { return service->getState() == State::Idle; }));

    EXPECT_TRUE (log.contains ("DEBUG: Update complete"));
    EXPECT_FALSE (log.contains ("Reconnecting"));
    EXPECT_TRUE (sleeper.sleeps().empty());
    EXPECT_TRUE (pedal.firmwareImage().empty());
    EXPECT_TRUE (packetsOfType (0xB5).empty());

    detach();
    EXPECT_EQ (service->getState(), State::Disconnected);
}

TEST_F (FirmwareUpdate, FailedSendShowsErrorAndLeavesNoWaitBehind)
{
    pedal.injectFault (0xB2, SimulatedPedal::Fault::nack(), 2);
    ASSERT_TRUE (service->beginFirmwareUpdate (archiveWithImage (200), {}));
    ASSERT_TRUE (waitFor ([&] { return service->getState() == State::Error; }));
    EXPECT_EQ (service->getLastError(), "Failed to update DSP firmware");
    EXPECT_TRUE (sleeper.sleeps().empty());

    detach();
    EXPECT_EQ (service->getState(), State::Disconnected);
}

TEST_F (FirmwareUpdate, IsTheWayOutOfErrorAndRequiredUpdate)
{
    pedal.injectFault (0xC2, SimulatedPedal::Fault::nack());
    ASSERT_TRUE (service->setCurrentCabData ({}));
    ASSERT_TRUE (waitFor ([&] { return service->getState() == State::Error; }));
    EXPECT_EQ (service->setCurrentCabData ({}).error, std::string ("Cannot start task while busy"));

    ASSERT_TRUE (service->beginFirmwareUpdate ({}, {}));
    ASSERT_TRUE (waitFor ([&] { return service->getState() == State::Idle && log.contains ("Update complete"); }));

    // A pedal with old firmware.
    detach();
    pedal.setVersions ({ 1, 0, 0 }, { 0, 2, 9 }, 0);
    ASSERT_TRUE (attach());
    ASSERT_TRUE (waitFor ([&] { return service->getState() == State::FirmwareUpdateRequired; }));
    const size_t statusBefore = pedal.statusRequests();
    ASSERT_TRUE (service->beginFirmwareUpdate ({}, {}));
    ASSERT_TRUE (waitFor ([&] { return pedal.statusRequests() > statusBefore; }));
    EXPECT_EQ (service->getState(), State::Idle);
}
