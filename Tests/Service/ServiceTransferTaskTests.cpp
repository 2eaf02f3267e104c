// SPDX-License-Identifier: GPL-3.0-or-later
// Transfer tasks over the simulated pedal: uploads, download, backup, restore,
// preset changes, and pedals that go away in the middle of them.
#include "Support/ServiceFixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <future>
#include <memory>
#include <mutex>

using namespace ServiceTestSupport;
using namespace Tessarine::TessarineData;
using TestSupport::SimulatedPedal;

namespace
{
std::string storedName (const SimulatedPedal& pedal, uint32_t index)
{
    std::string name;
    const auto block = pedal.storedBlock (9, index);

    if (block)
        decodeName (block->data(), name);

    return name;
}

uint32_t bitsOf (float f)
{
    uint32_t w;
    std::memcpy (&w, &f, 4);
    return w;
}

FullQuorbelPreset makePreset (float level, const std::string& cabName, uint32_t ampId)
{
    FullQuorbelPreset preset;
    preset.params[paramBoostLevel] = bitsOf (level);
    preset.cab.name = cabName;
    preset.cab.impulse[1][3] = 0.25f;
    preset.amp = { ampId, "Amp " + std::to_string (ampId) };
    preset.ampData.name = "model";
    preset.finishingFilter[8] = 0x42;
    return preset;
}

/** Progress values seen, from the worker thread. */
class ProgressLog
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

class ServiceTasks : public ServiceFixture
{
protected:
    void SetUp() override
    {
        attachAndSettle();
        listener.clear();
        pedal.clearReceived();
    }

    bool waitIdleAgain()
    {
        return waitFor ([&] { return listener.states().size() >= 2 && listener.states().back() == State::Idle; });
    }
};

TEST_F (ServiceTasks, AmpUploadWritesThreeBlocksToTheCachedPreset)
{
    Amp amp;
    amp.data.params[7] = 9;
    amp.data.name = "Brit";
    amp.nameAndID = { 31, "Brit 800" };
    amp.finishingFilter[0] = 0x11;
    amp.secondData = std::make_unique<AmpData>();

    ASSERT_TRUE (service->setCurrentAmpData (amp));
    ASSERT_TRUE (waitIdleAgain());

    EXPECT_EQ (listener.states(), (std::vector<State> { State::Sending, State::Sending, State::Idle }));
    EXPECT_TRUE (pedal.storedBlock (6, 0).has_value());
    EXPECT_EQ (pedal.storedBlock (8, 0)->at (0), 0x11);
    AmpNameAndID stored;
    decodeNumberedName (pedal.storedBlock (5, 0)->data(), stored);
    EXPECT_EQ (stored.id, 31u);
    EXPECT_EQ (service->getCurrentAmpName(), "Brit 800");
    EXPECT_FALSE (pedal.storedBlock (10, 0).has_value()); // the amp's impulse stays here
    // Told just after Idle is.
    EXPECT_TRUE (waitFor ([&] { return listener.dataChanges() >= 1; }));
    EXPECT_TRUE (log.contains ("DEBUG: Sending amp"));
}

TEST_F (ServiceTasks, CabinetUploadSanitisesTheName)
{
    Cabinet cab;
    cab.name = "My~Cab|01234567890123"; // 21 characters, two the pedal cannot show
    cab.impulse[0][0] = 0.5f;

    ASSERT_TRUE (service->setCurrentCabData (cab));
    ASSERT_TRUE (waitIdleAgain());

    EXPECT_EQ (storedName (pedal, 0), "My?Cab?01234567");
    EXPECT_EQ (service->getCurrentCabName(), "My?Cab?01234567");
    EXPECT_TRUE (pedal.storedBlock (10, 0).has_value());
}

TEST_F (ServiceTasks, FailedCabinetUploadShowsTheStepsText)
{
    pedal.injectFault (0xC2, SimulatedPedal::Fault::nack(), 2); // the name write's start
    ASSERT_TRUE (service->setCurrentCabData ({}));
    ASSERT_TRUE (waitFor ([&] { return service->getState() == State::Error; }));
    EXPECT_EQ (service->getLastError(), "Failed to send cab name");
    EXPECT_TRUE (pedal.storedBlock (10, 0).has_value()); // written data stays written
}

TEST_F (ServiceTasks, PresetUploadGoesToThePedalsOwnSlotWithTheNameUnchanged)
{
    pedal.setCurrentPreset (5); // the service still believes 0
    const FullQuorbelPreset preset = makePreset (3.0f, "Name~With|Odd\\Chars", 12);

    ASSERT_TRUE (service->setPresetData (preset));
    ASSERT_TRUE (waitIdleAgain());

    EXPECT_EQ (storedParams (3, 5).at (paramBoostLevel), wordOf (3.0f));
    EXPECT_EQ (storedName (pedal, 5), "Name~With|Odd\\C"); // first 15, not sanitised
    EXPECT_TRUE (pedal.storedBlock (6, 5).has_value());
    EXPECT_EQ (pedal.storedBlock (8, 5)->at (8), 0x42);
    EXPECT_TRUE (pedal.storedBlock (10, 5).has_value());
    EXPECT_FALSE (pedal.storedBlock (3, 0).has_value());
    // Then it reads the preset back.
    ASSERT_TRUE (waitFor ([&] { return service->getCurrentPresetIndex() == 5; }));
    EXPECT_TRUE (log.contains ("DEBUG: Sending cabName 5"));
}

TEST_F (ServiceTasks, PresetDownloadCallsBackOnceWithThePedalsPreset)
{
    pedal.setCurrentPreset (3);
    pedal.setBlock (3, 3, paramBlock ({ { paramReverbDecay, wordOf (0.9f) } }));
    std::promise<FullQuorbelPreset> received;
    std::atomic<int> calls { 0 };

    ASSERT_TRUE (service->getPresetData ([&] (const FullQuorbelPreset& p) {
        if (calls++ == 0)
            received.set_value (p);
    }));
    auto future = received.get_future();
    ASSERT_EQ (future.wait_for (std::chrono::seconds (10)), std::future_status::ready);
    const FullQuorbelPreset preset = future.get();

    EXPECT_EQ (preset.params.at (paramReverbDecay), wordOf (0.9f));
    EXPECT_EQ (preset.cab.impulse[0][0], 1.0f); // the pedal's default cabinet
    ASSERT_TRUE (waitIdleAgain());
    EXPECT_EQ (calls, 1);
    EXPECT_EQ (listener.states(), (std::vector<State> { State::Receiving, State::Receiving, State::Idle }));
    EXPECT_TRUE (log.contains ("DEBUG: Read cabName 3"));
}

TEST_F (ServiceTasks, FailedDownloadDoesNotCallBack)
{
    pedal.injectFault (0xC5, SimulatedPedal::Fault::nack(), 3); // the finishing-filter read
    std::atomic<int> calls { 0 };
    ASSERT_TRUE (service->getPresetData ([&] (const FullQuorbelPreset&) { ++calls; }));
    ASSERT_TRUE (waitFor ([&] { return service->getState() == State::Error; }));
    EXPECT_EQ (service->getLastError(), "Failed to get finishing filter data");
    EXPECT_EQ (calls, 0);
}

TEST_F (ServiceTasks, BackupReadsNinePresetsAndTheGlobals)
{
    pedal.setBlock (1, 0, paramBlock ({ { paramMainLevel, wordOf (2.0f) } }));
    pedal.setBlock (3, 7, paramBlock ({ { paramBoostDrive, wordOf (0.3f) } }));
    ProgressLog progress;
    std::promise<QuorbelArchive> done;
    std::atomic<int> doneCalls { 0 };

    ASSERT_TRUE (service->beginBackup (progress.callback(), [&] (const QuorbelArchive& a) {
        if (doneCalls++ == 0)
            done.set_value (a);
    }));
    auto future = done.get_future();
    ASSERT_EQ (future.wait_for (std::chrono::seconds (10)), std::future_status::ready);
    const QuorbelArchive archive = future.get();

    ASSERT_EQ (archive.presets.size(), 9u);
    for (uint32_t i = 0; i < 9; ++i)
        EXPECT_EQ (archive.presets[i].index, i);
    EXPECT_EQ (archive.presets[7].preset.params.at (paramBoostDrive), wordOf (0.3f));
    ASSERT_NE (archive.globals, nullptr);
    EXPECT_EQ (archive.globals->at (paramMainLevel), wordOf (2.0f));
    EXPECT_EQ (archive.versions, nullptr);
    EXPECT_EQ (archive.firmware, nullptr);

    std::vector<double> expected;
    for (int i = 0; i < 9; ++i)
        expected.push_back (i / 9.0);
    EXPECT_EQ (progress.get(), expected);

    // One globals read and six reads per preset: nothing more.
    EXPECT_EQ (packetsOfType (0xC5).size(), 1u + 9u * 6u);
    ASSERT_TRUE (waitIdleAgain());
    EXPECT_EQ (doneCalls, 1);
}

TEST_F (ServiceTasks, BackupFailingInPresetFourStopsThere)
{
    // Globals are read 1st; preset p's first read is 2 + 6p.
    pedal.injectFault (0xC5, SimulatedPedal::Fault::nack(), 2 + 6 * 4);
    ProgressLog progress;
    std::atomic<int> doneCalls { 0 };

    ASSERT_TRUE (service->beginBackup (progress.callback(), [&] (const QuorbelArchive&) { ++doneCalls; }));
    ASSERT_TRUE (waitFor ([&] { return service->getState() == State::Error; }));
    EXPECT_EQ (service->getLastError(), "Failed to get preset data");
    EXPECT_EQ (progress.get().back(), 4 / 9.0);
    EXPECT_EQ (doneCalls, 0);
}

TEST_F (ServiceTasks, TasksAreRefusedDuringABackupButARefreshRequestWaits)
{
    // The backup's first read is held on its way to the pedal until the
    // other requests have been made, so the backup surely runs meanwhile.
    const auto hold = ThreadHold::atWrite (connection->tap, 0xC5);
    std::atomic<int> doneCalls { 0 };
    ASSERT_TRUE (service->beginBackup ({}, [&] (const QuorbelArchive&) { ++doneCalls; }));
    const bool held = hold->waitUntilHolding();

    EXPECT_EQ (service->setParameterValue (paramBoostDrive, { 1, 0.5 }).error, std::string ("Cannot start task while busy"));
    EXPECT_EQ (service->requestChangePreset (2).error, std::string ("Cannot start task while busy"));
    EXPECT_EQ (service->beginRestore ({}, {}).error, std::string ("Cannot start task while busy"));
    EXPECT_EQ (service->beginFirmwareUpdate ({}, {}).error, std::string ("Cannot start task while busy"));
    EXPECT_TRUE (service->requestRefreshCurrentPreset());
    hold->release();
    ASSERT_TRUE (held);

    ASSERT_TRUE (waitFor ([&] { return doneCalls == 1; }));
    // The backup's end carried out the pending refresh: the globals were read
    // once more after the last preset.
    const auto reads = packetsOfType (0xC5);
    ASSERT_GE (reads.size(), 1u + 54u + 1u);
    EXPECT_EQ (reads[55][2], 1); // block type 1: globals
}

TEST_F (ServiceTasks, RestoreWritesOnlyTheArchivesEntries)
{
    QuorbelArchive archive;
    archive.globals = std::make_unique<ParamMap> (ParamMap { { paramXlrLevel, wordOf (-1.0f) } });
    archive.presets.resize (2);
    archive.presets[0].index = 2;
    archive.presets[0].preset = makePreset (1.0f, "Two", 2);
    archive.presets[1].index = 7;
    archive.presets[1].preset = makePreset (7.0f, "Seven~", 7);
    ProgressLog progress;

    ASSERT_TRUE (service->beginRestore (archive, progress.callback()));
    ASSERT_TRUE (waitIdleAgain());

    EXPECT_EQ (progress.get(), (std::vector<double> { 2 / 9.0, 7 / 9.0 }));
    EXPECT_EQ (storedParams (1, 0).at (paramXlrLevel), wordOf (-1.0f));
    EXPECT_EQ (storedParams (3, 2).at (paramBoostLevel), wordOf (1.0f));
    EXPECT_EQ (storedParams (3, 7).at (paramBoostLevel), wordOf (7.0f));
    EXPECT_EQ (storedName (pedal, 7), "Seven~");

    for (const auto& block : pedal.storedBlocks())
    {
        if (block.first.first != 1)
        {
            EXPECT_TRUE (block.first.second == 2 || block.first.second == 7) << block.first.first << "/" << block.first.second;
        }
    }

    EXPECT_EQ (listener.states().front(), State::Restoring);
}

TEST_F (ServiceTasks, RestoreRefusesAnIndexOutsideThePedalsSlots)
{
    QuorbelArchive archive;
    archive.globals = std::make_unique<ParamMap>();
    archive.presets.resize (2);
    archive.presets[0].index = 1;
    archive.presets[1].index = 9;

    EXPECT_EQ (service->beginRestore (archive, {}).error, std::string ("Invalid preset index in archive: %u"));
    EXPECT_EQ (service->getState(), State::Idle);
    EXPECT_TRUE (pedal.receivedPackets().empty());
    EXPECT_TRUE (listener.states().empty());
}

TEST_F (ServiceTasks, FailedRestoreLeavesEarlierPresetsWritten)
{
    QuorbelArchive archive;
    archive.presets.resize (3);
    for (uint32_t i = 0; i < 3; ++i)
        archive.presets[i].index = i;

    // Six writes per preset, no globals: preset 1's amp data is the 8th write.
    pedal.injectFault (0xC2, SimulatedPedal::Fault::nack(), 8);
    ASSERT_TRUE (service->beginRestore (archive, {}));
    ASSERT_TRUE (waitFor ([&] { return service->getState() == State::Error; }));
    EXPECT_EQ (service->getLastError(), "Failed to set amp data");
    EXPECT_TRUE (pedal.storedBlock (10, 0).has_value());
    EXPECT_TRUE (pedal.storedBlock (3, 1).has_value());
    EXPECT_FALSE (pedal.storedBlock (3, 2).has_value());
}

//==============================================================================
TEST_F (ServiceTasks, PresetChangeFollowsTheLatestRequest)
{
    // The first program change is held on its way to the pedal until the
    // later requests are in, so they surely arrive while the task is inside it.
    const auto hold = ThreadHold::atWrite (connection->tap, 0xC9);
    ASSERT_TRUE (service->requestChangePreset (1));
    const bool held = hold->waitUntilHolding();
    EXPECT_TRUE (service->requestChangePreset (2));
    EXPECT_TRUE (service->requestChangePreset (3));
    hold->release();
    ASSERT_TRUE (held);

    ASSERT_TRUE (waitFor ([&] { return service->getCurrentPresetIndex() == 3; }));
    ASSERT_TRUE (waitForState (State::Idle));

    const auto changes = packetsOfType (0xC9);
    ASSERT_EQ (changes.size(), 2u); // 1, then straight to the latest
    EXPECT_EQ (changes[0][2], 1);
    EXPECT_EQ (changes[1][2], 3);
    EXPECT_EQ (pedal.currentPreset(), 3u);
    EXPECT_GE (listener.dataChanges(), 4); // each exchange's refresh and the loop's own
    // runTask said Idle once; the later requests queued nothing.
    EXPECT_EQ (listener.states().front(), State::Idle);
}

// A request made from another thread just after the task judged itself done
// (the worker is held at the line that says so) must not be lost: it finds no
// change pending and starts its own.
TEST_F (ServiceTasks, RequestRacingTheEndOfAChangeIsCarriedOut)
{
    const auto hold = ThreadHold::atLogLine (log, [] (const std::string& line) {
        return line.find ("Preset change done") != std::string::npos;
    });

    ASSERT_TRUE (service->requestChangePreset (1));
    const bool held = hold->waitUntilHolding();
    EXPECT_TRUE (service->requestChangePreset (6));
    hold->release();
    ASSERT_TRUE (held);

    ASSERT_TRUE (waitFor ([&] { return pedal.currentPreset() == 6u && service->getCurrentPresetIndex() == 6; }));
}

// The same for a request made just after the task gave up on a pedal that
// never gets to the preset asked for.
TEST_F (ServiceTasks, PresetChangeGivesUpAfterItsRoundsButNotOnALaterRequest)
{
    // This pedal takes a program change to preset 2 to preset 4 instead.
    connection->tap.setWriteFilter ([] (std::vector<uint8_t>& report) {
        if (report.size() > 3 && report[1] == 0xC9 && report[3] == 2)
            report[3] = 4;
    });
    const auto hold = ThreadHold::atLogLine (log, [] (const std::string& line) {
        return line.find ("given up") != std::string::npos;
    });

    ASSERT_TRUE (service->requestChangePreset (2));
    const bool held = hold->waitUntilHolding();
    EXPECT_EQ (packetsOfType (0xC9).size(), (size_t) Service::presetChangeRoundLimit);
    EXPECT_TRUE (service->requestChangePreset (5));
    hold->release();
    ASSERT_TRUE (held);
    EXPECT_TRUE (log.contains ("WARNING: Preset change to 2 given up: the pedal still reports preset 4"));

    ASSERT_TRUE (waitFor ([&] { return pedal.currentPreset() == 5u && service->getCurrentPresetIndex() == 5; }));
    // Giving up is no error: the switch shows the pedal's own preset by then.
    EXPECT_EQ (service->getState(), State::Idle);
    EXPECT_EQ (service->getLastError(), "");
}

TEST_F (ServiceTasks, FailedPresetChangeShowsTheFailingStepsText)
{
    pedal.injectFault (0xC9, SimulatedPedal::Fault::nack());
    ASSERT_TRUE (service->requestChangePreset (2));
    ASSERT_TRUE (waitFor ([&] { return service->getState() == State::Error; }));
    EXPECT_EQ (service->getLastError(), "Got NACK for program change");
    // As after any failed task, the next change waits for the next attach.
    EXPECT_EQ (service->requestChangePreset (3).error, std::string ("Cannot start task while busy"));

    // There the re-read of the new preset fails: its second block read, the
    // first after the globals.
    detach();
    attachAndSettle();
    pedal.injectFault (0xC5, SimulatedPedal::Fault::nack(), 2);
    ASSERT_TRUE (service->requestChangePreset (3));
    ASSERT_TRUE (waitFor ([&] { return service->getState() == State::Error; }));
    EXPECT_EQ (service->getLastError(), "Failed to refresh preset");
    EXPECT_EQ (pedal.currentPreset(), 3u);
}

//==============================================================================
// The pedal is removed while a task talks to it.

TEST_F (ServiceTasks, DetachWaitsForTheProtocolCallInProgress)
{
    // The block read's first answer comes late: the task is inside the
    // protocol when the application detaches and deletes the connection.
    pedal.injectFault (0xC5, SimulatedPedal::Fault::delayBy (std::chrono::milliseconds (50)), 3);
    std::atomic<int> doneCalls { 0 };
    ASSERT_TRUE (service->beginBackup ({}, [&] (const QuorbelArchive&) { ++doneCalls; }));
    ASSERT_TRUE (waitFor ([&] { return packetsOfType (0xC5).size() >= 3; }));

    detach(); // deletes protocol and transport as soon as disconnect returns

    EXPECT_EQ (service->getState(), State::Disconnected);
    ASSERT_EQ (listener.states().back(), State::Disconnected);
    const size_t heardBeforeReattach = listener.states().size();

    // Plugged in again, everything works. The new refresh runs on the same
    // worker, so only once the old task has ended: whatever that task did
    // after the detach is in by then.
    attachAndSettle();
    EXPECT_EQ (service->getState(), State::Idle);

    // The task's next call found no pedal: it ended quietly, without Error
    // and without a state of its own.
    const auto states = listener.states();
    EXPECT_EQ (std::vector<State> (states.begin() + (long) heardBeforeReattach, states.end()),
               (std::vector<State> { State::Idle, State::Refreshing, State::Refreshing, State::Idle }));
    EXPECT_EQ (service->getLastError(), "");
    EXPECT_EQ (doneCalls, 0);
}

TEST_F (ServiceTasks, DetachGoesAheadOfTheRunningTasksNextCall)
{
    // The backup's first block read is held on its way to the pedal, so the
    // task is inside that call when the application detaches.
    const auto hold = ThreadHold::atWrite (connection->tap, 0xC5);
    std::atomic<int> doneCalls { 0 };
    ASSERT_TRUE (service->beginBackup ({}, [&] (const QuorbelArchive&) { ++doneCalls; }));
    const bool held = hold->waitUntilHolding();

    std::thread application ([&] { detach(); });
    // The detach is shown before the call in progress ends.
    const bool shown = waitFor ([&] { return ! listener.states().empty() && listener.states().back() == State::Disconnected; });
    const bool shownWhileHeld = hold->release() && shown;
    application.join();

    ASSERT_TRUE (held);
    EXPECT_TRUE (shownWhileHeld);
    // The call in progress ended; the task's next one never reached the pedal.
    EXPECT_EQ (packetsOfType (0xC5).size(), 1u);
    EXPECT_EQ (service->getState(), State::Disconnected);
    EXPECT_EQ (doneCalls, 0);
}

//==============================================================================
// The editor quits while a task talks to the pedal.

class ServiceQuitting : public ServiceTasks
{
protected:
    /** Quits on another thread while the pedal holds the task inside a call,
        and lets the pedal go on once the quit is under way; returns whether it
        was before the release. */
    bool quitWhileHeld (ThreadHold& hold)
    {
        std::thread application ([&] { service->shutdown(); });
        const bool underWay = waitFor ([&] { return log.contains ("DEBUG: QuorbelEditorService: shutdown"); });
        const bool underWayWhileHeld = hold.release() && underWay;
        application.join();
        return underWayWhileHeld;
    }
};

TEST_F (ServiceQuitting, ABackupEndsWithTheCallInProgressAndSavesNothing)
{
    const auto hold = ThreadHold::atWrite (connection->tap, 0xC5);
    std::atomic<int> doneCalls { 0 };
    ASSERT_TRUE (service->beginBackup ({}, [&] (const QuorbelArchive&) { ++doneCalls; }));
    ASSERT_TRUE (hold->waitUntilHolding());

    EXPECT_TRUE (quitWhileHeld (*hold));
    EXPECT_EQ (packetsOfType (0xC5).size(), 1u); // the globals read, then nothing
    EXPECT_EQ (doneCalls, 0);
}

TEST_F (ServiceQuitting, ARestoreFinishesThePresetItIsWritingAndStopsThere)
{
    QuorbelArchive archive;
    archive.presets.resize (3);
    for (uint32_t i = 0; i < 3; ++i)
        archive.presets[i].index = i;

    // Held inside preset 0's first block write.
    const auto hold = ThreadHold::atWrite (connection->tap, 0xC2);
    ASSERT_TRUE (service->beginRestore (archive, {}));
    ASSERT_TRUE (hold->waitUntilHolding());

    EXPECT_TRUE (quitWhileHeld (*hold));
    // All six blocks of preset 0, nothing of the others.
    const auto blocks = pedal.storedBlocks();
    EXPECT_EQ (blocks.size(), 6u);
    for (const auto& block : blocks)
        EXPECT_EQ (block.first.second, 0u) << "block type " << block.first.first;
}

TEST_F (ServiceQuitting, APedalThatStoppedAnsweringDoesNotHoldIt)
{
    // The third acknowledgement of the backup's globals read goes unanswered;
    // the reply wait is far longer than this test waits.
    pedal.injectFault (0xC0, SimulatedPedal::Fault::lose(), 3);
    ASSERT_TRUE (service->beginBackup ({}, {}));
    ASSERT_TRUE (waitFor ([&] { return packetsOfType (0xC0).size() == 3; }));
    const size_t receivedBefore = pedal.receivedCount();

    std::atomic<bool> quit { false };
    std::thread application ([&] {
        service->shutdown();
        quit = true;
    });
    const bool returned = waitFor ([&] { return quit.load(); });

    // An unplug ends the wait in any case, so a failing test ends too.
    if (! returned)
        pedal.unplug();

    application.join();
    EXPECT_TRUE (returned);
    EXPECT_EQ (pedal.receivedCount(), receivedBefore);
}

class ServiceUnplugged : public ServiceTasks, public ::testing::WithParamInterface<int>
{
};

// Each long operation, unplugged after a few exchanges: the application
// detaches, the service ends Disconnected, and a re-plug recovers.
TEST_P (ServiceUnplugged, DuringLongOperation)
{
    pedal.injectFaultAtExchange (6, SimulatedPedal::Fault::unplug());
    QuorbelArchive archive;
    archive.presets.resize (2);
    archive.presets[1].index = 1;
    archive.firmware = std::make_unique<std::vector<uint8_t>> (600, 0x5A);

    switch (GetParam())
    {
        case 0: ASSERT_TRUE (service->beginRefreshAll (true)); break;
        case 1: ASSERT_TRUE (service->setPresetData ({})); break;
        case 2: ASSERT_TRUE (service->getPresetData ([] (const FullQuorbelPreset&) {})); break;
        case 3: ASSERT_TRUE (service->beginBackup ({}, {})); break;
        case 4: ASSERT_TRUE (service->beginRestore (archive, {})); break;
        case 5: ASSERT_TRUE (service->setCurrentCabData ({})); break;
        default: break;
    }

    ASSERT_TRUE (waitFor ([&] { return pedal.isUnplugged(); }));
    detach();
    EXPECT_EQ (service->getState(), State::Disconnected);
    ASSERT_EQ (listener.states().back(), State::Disconnected);
    const size_t heardBeforeReplug = listener.states().size();

    // The re-plug's refresh runs only after the old task has ended, so a state
    // that task set after the detach would show up before the refresh's.
    pedal.plugIn();
    attachAndSettle();
    EXPECT_EQ (service->getState(), State::Idle);
    const auto states = listener.states();
    EXPECT_EQ (std::vector<State> (states.begin() + (long) heardBeforeReplug, states.end()),
               (std::vector<State> { State::Idle, State::Refreshing, State::Refreshing, State::Idle }));
    ASSERT_TRUE (service->requestChangePreset (4));
    ASSERT_TRUE (waitFor ([&] { return service->getCurrentPresetIndex() == 4; }));
}

INSTANTIATE_TEST_SUITE_P (EachOperation, ServiceUnplugged, ::testing::Range (0, 6));
