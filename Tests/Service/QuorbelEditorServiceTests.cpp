// SPDX-License-Identifier: GPL-3.0-or-later
// The service core over the simulated pedal, the real transport and the real
// protocol engine: attach and detach, the state machine, refusals, cached
// values, live parameters and status reports.
#include "Support/ServiceFixture.h"

#include "NameSanitiser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>
#include <utility>

using namespace ServiceTestSupport;
using Quorbel::QuorbelEditorService;
using Tessarine::TessarineData::FirmwareVersionInfo;
using TestSupport::SimulatedPedal;

namespace
{
using V = Service::ParameterValue;

std::vector<uint8_t> nameBlock (const std::string& name, size_t size, bool numbered, uint32_t id = 0)
{
    std::vector<uint8_t> block (size);

    if (numbered)
        Tessarine::TessarineData::encodeNumberedName (block.data(), { id, name });
    else
        Tessarine::TessarineData::encodeName (block.data(), name);

    return block;
}

FirmwareVersionInfo version (std::array<uint8_t, 4> system, std::array<uint8_t, 4> dsp)
{
    FirmwareVersionInfo v;
    v.system = system;
    v.dsp = dsp;
    return v;
}

} // namespace

class ServiceCore : public ServiceFixture
{
};

TEST_F (ServiceCore, AttachReadsVersionsAndTheCurrentPresetThenAsksForStatusReports)
{
    pedal.setCurrentPreset (2);
    pedal.setBlock (1, 0, paramBlock ({ { paramMainLevel, wordOf (-3.5f) }, { paramOutputChoice, wordOf (1.0f) } }));
    pedal.setBlock (3, 2, paramBlock ({ { paramBoostLevel, wordOf (5.25f) }, { paramBoostType, wordOf (2.4f) } }));
    pedal.setBlock (5, 2, nameBlock ("Plexi", 68, true, 7));
    pedal.setBlock (9, 2, nameBlock ("Greenback", 64, false));
    pedal.setVersions ({ 1, 2, 3 }, { 0, 4, 1 }, 1);

    attachAndSettle();

    EXPECT_EQ (listener.states(), (std::vector<State> { State::Idle, State::Refreshing, State::Refreshing, State::Idle }));
    EXPECT_EQ (sleeper.sleeps(), (std::vector<int> { 3000 }));
    EXPECT_TRUE (log.contains ("DEBUG: connect"));
    EXPECT_TRUE (log.contains ("DEBUG: QuorbelEditorService: System version: 1.2.3"));
    EXPECT_TRUE (log.contains ("DEBUG: QuorbelEditorService: DSP version: 0.4.1"));

    FirmwareVersionInfo v;
    EXPECT_TRUE (service->getFirmwareVersionInfo (v));
    EXPECT_EQ (v.dsp, (std::array<uint8_t, 4> { 0, 4, 1, 0 }));
    EXPECT_EQ (v.kind, 1);

    EXPECT_EQ (service->getCurrentPresetIndex(), 2);
    EXPECT_EQ (service->getCurrentAmpName(), "Plexi");
    EXPECT_EQ (service->getCurrentCabName(), "Greenback");

    V value;
    ASSERT_TRUE (service->getParameterValue (paramBoostLevel, value));
    EXPECT_EQ (value.kind, 1u);
    EXPECT_EQ (value.value, 5.25);
    ASSERT_TRUE (service->getParameterValue (paramBoostType, value));
    EXPECT_EQ (value.kind, 0u);
    EXPECT_EQ (value.value, 2.0);
    ASSERT_TRUE (service->getParameterValue (paramMainLevel, value));
    EXPECT_EQ (value.value, -3.5);
    // Not in the pedal's list: the default.
    ASSERT_TRUE (service->getParameterValue (paramEqBand1Q, value));
    EXPECT_EQ (value.value, (double) 0.7071f);

    EXPECT_EQ (pedal.statusRequests(), 1u);
    EXPECT_GE (listener.dataChanges(), 2);
}

TEST_F (ServiceCore, ValuesBeforeAnyRefreshAreDefaultsAndUnknownIdsFail)
{
    V value;
    ASSERT_TRUE (service->getParameterValue (paramReverbType, value));
    EXPECT_EQ (value.kind, 0u);
    EXPECT_EQ (value.value, 4.0);
    EXPECT_EQ (service->getParameterValue ((QuorbelParamID) 6, value).error, std::string ("No scope for parameter"));

    Service::ParameterInfo info;
    EXPECT_EQ (service->getParameterInfo ((QuorbelParamID) 300, info).error, std::string ("Parameter info not found"));
    ASSERT_TRUE (service->getParameterInfo (paramOutputChoice, info));
    EXPECT_EQ (info.valueNames.size(), 4u);

    std::map<uint32_t, uint32_t> values;
    EXPECT_TRUE (service->validatePresetValues (values));
    EXPECT_EQ (values.size(), 70u);

    FirmwareVersionInfo v;
    EXPECT_FALSE (service->getFirmwareVersionInfo (v));
}

TEST_F (ServiceCore, StartersRefuseWhileDetachedAndNotifyNobody)
{
    EXPECT_EQ (service->getState(), State::Disconnected);
    EXPECT_EQ (service->setCurrentCabData ({}).error, std::string ("Cannot start task while not connected"));
    EXPECT_EQ (service->beginBackup ({}, {}).error, std::string ("Cannot start task while not connected"));
    EXPECT_EQ (service->setParameterValue (paramBoostDrive, { 1, 0.5 }).error, std::string ("Cannot start task while not connected"));
    EXPECT_EQ (service->requestChangePreset (3).error, std::string ("Cannot start task while not connected"));
    EXPECT_EQ (service->beginFirmwareUpdate ({}, {}).error, std::string ("Cannot start task while not connected"));
    EXPECT_EQ (service->requestChangePreset (9).error, std::string ("Invalid preset index: %d"));
    EXPECT_EQ (service->requestChangePreset (-1).error, std::string ("Invalid preset index: %d"));
    EXPECT_TRUE (listener.states().empty());
    EXPECT_TRUE (pedal.receivedPackets().empty());
}

TEST_F (ServiceCore, OldDspFirmwareRequiresAnUpdateAndReadsNoPreset)
{
    pedal.setVersions ({ 1, 0, 0 }, { 0, 3, 2 }, 1);
    ASSERT_TRUE (attach());
    // Waited for as heard: the listener is told just after the state is set.
    ASSERT_TRUE (waitFor ([&] { return listener.states().size() >= 4; }));

    // The attach's own Refreshing, said on this thread, never comes after the
    // task's later states.
    EXPECT_EQ (listener.states(), (std::vector<State> { State::Idle, State::Refreshing, State::Refreshing, State::FirmwareUpdateRequired }));
    EXPECT_EQ (service->getState(), State::FirmwareUpdateRequired);
    // Version and ping only: no block read, no status request.
    EXPECT_TRUE (packetsOfType (0xC5).empty());
    EXPECT_EQ (pedal.statusRequests(), 0u);
    EXPECT_EQ (packetsOfType (0xB4).size(), 1u);

    // Sticky: ordinary tasks need Idle.
    listener.clear();
    EXPECT_EQ (service->setParameterValue (paramBoostDrive, { 1, 0.5 }).error, std::string ("Cannot start task while busy"));
    EXPECT_EQ (service->beginRefreshAll (false).error, std::string ("Cannot start task while busy"));
    EXPECT_TRUE (listener.states().empty());
}

TEST_F (ServiceCore, UnreadableVersionCountsAsDspZero)
{
    pedal.injectFault (0xB5, SimulatedPedal::Fault::nack());
    ASSERT_TRUE (attach());
    ASSERT_TRUE (waitFor ([&] { return service->getState() == State::FirmwareUpdateRequired; }));
    EXPECT_TRUE (log.contains ("WARNING: Failed to get version information - assuming invalid version"));

    FirmwareVersionInfo v;
    service->getFirmwareVersionInfo (v);
    EXPECT_EQ (v.dsp, (std::array<uint8_t, 4> {}));
    EXPECT_EQ (v.kind, -1);
    EXPECT_TRUE (packetsOfType (0xC5).empty());
}

TEST_F (ServiceCore, PingWithoutAnswerIsFailedToConnectTwo)
{
    timeouts.pingMs = 50;
    pedal.injectFault (0xB4, SimulatedPedal::Fault::lose());
    ASSERT_TRUE (attach());
    ASSERT_TRUE (waitFor ([&] { return service->getState() == State::Error; }));
    EXPECT_EQ (service->getLastError(), "Failed to connect (2)");
    EXPECT_TRUE (log.contains ("ERROR: EdSvc error: Failed to connect (2)"));
}

TEST_F (ServiceCore, PingThatFailsIsFailedToConnectOne)
{
    // The version reply claims more bytes than it carries: the engine gives up
    // on the stream, so the ping that follows cannot even start.
    timeouts.replyMs = 100;
    pedal.injectFault (0xB5, SimulatedPedal::Fault::corrupt());
    ASSERT_TRUE (attach());
    ASSERT_TRUE (waitFor ([&] { return service->getState() == State::Error; }));
    EXPECT_EQ (service->getLastError(), "Failed to connect (1)");
    EXPECT_TRUE (packetsOfType (0xB4).empty());
}

TEST_F (ServiceCore, FirmwareVersionCheck)
{
    // Required system 0.0.0.0, DSP 0.3.3.0 (the fixture's).
    EXPECT_FALSE (service->checkFirmwareVersion (version ({ 9, 9, 9, 0 }, { 0, 3, 2, 9 })));
    EXPECT_TRUE (service->checkFirmwareVersion (version ({ 0, 0, 0, 0 }, { 0, 3, 3, 0 })));
    EXPECT_TRUE (service->checkFirmwareVersion (version ({ 0, 0, 0, 0 }, { 0, 4, 0, 0 })));

    FirmwareVersionInfo required = version ({ 1, 2, 0, 0 }, { 0, 0, 0, 0 });
    QuorbelEditorService systemOnly (&required, &sleeper);
    EXPECT_FALSE (systemOnly.checkFirmwareVersion (version ({ 1, 1, 9, 0 }, { 9, 0, 0, 0 })));
    EXPECT_TRUE (systemOnly.checkFirmwareVersion (version ({ 1, 2, 0, 0 }, { 0, 0, 0, 0 })));

    QuorbelEditorService noRequirement (nullptr, &sleeper);
    EXPECT_TRUE (noRequirement.checkFirmwareVersion (version ({}, {})));
}

TEST_F (ServiceCore, SetParameterSendsTheLiveMessageCachesAndNotifies)
{
    attachAndSettle();
    listener.clear();

    ASSERT_TRUE (service->setParameterValue (paramBoostDrive, { 1, 0.75 }));
    ASSERT_TRUE (service->setParameterValue (paramMainLevel, { 1, -6.0 }));
    ASSERT_TRUE (waitFor ([&] { return listener.parameters().size() == 2; }));

    const auto live = pedal.liveParameters();
    ASSERT_EQ (live.size(), 2u);
    EXPECT_EQ (live[0].id, paramBoostDrive);
    EXPECT_EQ (live[0].value, wordOf (0.75f));
    EXPECT_EQ (live[1].id, paramMainLevel);
    EXPECT_EQ (live[1].value, wordOf (-6.0f));

    V value;
    service->getParameterValue (paramBoostDrive, value);
    EXPECT_EQ (value.value, 0.75);
    service->getParameterValue (paramMainLevel, value);
    EXPECT_EQ (value.value, -6.0);
    EXPECT_EQ (listener.parameters()[0].id, paramBoostDrive);
    EXPECT_EQ (listener.parameters()[0].value.value, 0.75);
    EXPECT_TRUE (log.contains ("DEBUG: QuorbelEditorService: setParameterValue(2,0.750000)"));
    // runTask keeps Idle and still says so.
    EXPECT_EQ (listener.states(), (std::vector<State> { State::Idle, State::Idle }));
}

TEST_F (ServiceCore, StatusReportUpdatesLiveValuesAndFollowsThePedal)
{
    attachAndSettle();
    listener.clear();

    // Same preset, same cab mode: nine parameter notifications, no data change.
    SimulatedPedal::Panel panel;
    panel.knobs = { 255, 0, 51, 0, 0, 0, 0, 128 };
    panel.footswitch = 1;
    panel.cabMode = 1;
    pedal.setPanel (panel);
    pedal.sendStatusReport();
    ASSERT_TRUE (waitFor ([&] { return listener.parameters().size() == 9; }));
    EXPECT_EQ (listener.dataChanges(), 0);
    EXPECT_EQ (listener.parameters()[0].id, paramLiveKnob1);
    EXPECT_EQ (listener.parameters()[8].id, paramLiveFootswitch);

    V value;
    service->getParameterValue (paramLiveKnob1, value);
    EXPECT_EQ (value.kind, 1u);
    EXPECT_EQ (value.value, 1.0);
    service->getParameterValue (paramLiveKnob3, value);
    EXPECT_EQ (value.value, (double) (51.0f / 255.0f));
    service->getParameterValue (paramLiveFootswitch, value);
    EXPECT_EQ (value.kind, 0u);
    EXPECT_EQ (value.value, 1.0);

    // A new cab mode is data.
    panel.cabMode = 0;
    pedal.setPanel (panel);
    pedal.sendStatusReport();
    ASSERT_TRUE (waitFor ([&] { return listener.dataChanges() == 1; }));
    EXPECT_EQ (service->getCabMode(), 0);

    // The pedal's own preset switch: the service re-reads the current preset.
    pedal.setBlock (9, 6, nameBlock ("Six", 64, false));
    pedal.setCurrentPreset (6);
    pedal.sendStatusReport();
    ASSERT_TRUE (waitFor ([&] { return service->getCurrentPresetIndex() == 6; }));
    ASSERT_TRUE (waitFor ([&] { return service->getCurrentCabName() == "Six"; }));
    EXPECT_EQ (service->getState(), State::Idle);
}

TEST_F (ServiceCore, StatusReportsOfOtherLengthsAreIgnored)
{
    attachAndSettle();
    listener.clear();
    pedal.clearReceived();

    pedal.sendReport ({ 0xCE, 10, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0 });
    pedal.sendReport ({ 0xCE, 12, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 1, 1 });
    // A report that is handled after the two shows they have been read.
    pedal.sendStatusReport();
    ASSERT_TRUE (waitFor ([&] { return listener.parameters().size() == 9; }));
    std::this_thread::sleep_for (std::chrono::milliseconds (20));
    EXPECT_EQ (listener.parameters().size(), 9u);
    EXPECT_EQ (listener.dataChanges(), 0);
    EXPECT_EQ (service->getCurrentPresetIndex(), 0);
}

TEST_F (ServiceCore, CommunicationErrorCancelsAndShowsError)
{
    attachAndSettle();
    listener.clear();
    pedal.unplug(); // the transport's read fails
    ASSERT_TRUE (waitFor ([&] { return service->getState() == State::Error; }));
    EXPECT_EQ (service->getLastError(), "A communication error occurred");
    EXPECT_TRUE (log.contains ("DEBUG: QuorbelEditorService: cancelAll"));

    // The application then sees the removal.
    detach();
    EXPECT_EQ (service->getState(), State::Disconnected);
}

// The reader thread that reports a communication error cancels every task
// before it shows Error: a firmware update, which may start from Error, started
// once Error shows must run. The update queues behind the attach's refresh,
// held in its settle time until the cancel; the reader, should it cancel only
// after showing Error, is held there until the update has been started.
TEST_F (ServiceCore, FirmwareUpdateStartedFromTheErrorOfACommunicationFailureRuns)
{
    sleeper.holdUntilCancelled (1);
    const auto hold = ThreadHold::atLogLine (log, [this] (const std::string& line) {
        return line.find ("QuorbelEditorService: cancelAll") != std::string::npos
            && log.contains ("EdSvc error: A communication error occurred");
    });
    ASSERT_TRUE (attach());
    ASSERT_TRUE (waitFor ([&] { return sleeper.sleeps().size() == 1; }));

    pedal.unplug();
    ASSERT_TRUE (waitFor ([&] { return service->getState() == State::Error; }));
    const Tessarine::Result started = service->beginFirmwareUpdate ({}, {});
    hold->release();
    ASSERT_TRUE (started);
    EXPECT_TRUE (waitFor ([&] { return log.contains ("DEBUG: Update complete"); }));
}

TEST_F (ServiceCore, DetachAndReattach)
{
    attachAndSettle();
    listener.clear();
    detach();
    EXPECT_EQ (listener.states(), (std::vector<State> { State::Disconnected }));
    EXPECT_TRUE (log.contains ("DEBUG: disconnect"));

    listener.clear();
    attachAndSettle();
    EXPECT_EQ (listener.states(), (std::vector<State> { State::Idle, State::Refreshing, State::Refreshing, State::Idle }));
    EXPECT_EQ (sleeper.count (3000), 2);
}

// Two threads change the state while the listeners are held up by a callback
// on the worker: neither state may be told out of order, nor told once the
// service has moved on, so the last state a listener hears is the service's.
TEST_F (ServiceCore, EveryStateIsToldWhileItHolds)
{
    attachAndSettle();

    std::mutex gateMutex;
    std::condition_variable gateChanged;
    bool holding = false, released = false;
    std::atomic<bool> armed { false };
    std::vector<std::pair<State, State>> told; // (state told, service's state then)

    Service::Listener gate;
    gate.onDataChanged = [&] {
        if (! armed.exchange (false))
            return;

        std::unique_lock<std::mutex> lock (gateMutex);
        holding = true;
        gateChanged.notify_all();
        gateChanged.wait_for (lock, std::chrono::seconds (10), [&] { return released; });
    };
    gate.onStateChanged = [&] (State s) {
        const State now = service->getState();
        std::lock_guard<std::mutex> lock (gateMutex);
        told.emplace_back (s, now);
    };
    service->addListener (&gate);

    armed = true;
    ASSERT_TRUE (service->requestRefreshCurrentPreset());
    {
        std::unique_lock<std::mutex> lock (gateMutex);
        ASSERT_TRUE (gateChanged.wait_for (lock, std::chrono::seconds (10), [&] { return holding; }));
    }

    // Gives a thread the time to set a state it cannot tell yet. A service that
    // sets a state only together with telling it never gets there, and the
    // wait only runs out.
    const auto untilStateIs = [&] (State s) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds (200);

        while (service->getState() != s && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for (std::chrono::milliseconds (1));
    };

    std::thread starter ([&] { service->beginBackup ({}, {}); });
    untilStateIs (State::BackingUp);
    std::thread detacher ([&] { service->disconnect(); });
    untilStateIs (State::Disconnected);

    {
        std::lock_guard<std::mutex> lock (gateMutex);
        released = true;
        gateChanged.notify_all();
    }

    starter.join();
    detacher.join();
    service->removeListener (&gate);

    // The backup either started before the detach or was refused after it.
    ASSERT_FALSE (told.empty());
    EXPECT_EQ (told.back().first, State::Disconnected);
    EXPECT_EQ (service->getState(), State::Disconnected);

    for (const auto& entry : told)
        EXPECT_EQ (entry.first, entry.second) << "told " << entry.first << " while in " << entry.second;
}

TEST_F (ServiceCore, RemovedListenerHearsNothing)
{
    RecordingListener second;
    service->addListener (&second);
    attachAndSettle();
    EXPECT_FALSE (second.states().empty());

    service->removeListener (&second);
    second.clear();
    detach();
    EXPECT_TRUE (second.states().empty());
    EXPECT_EQ (listener.states().back(), State::Disconnected);
}
