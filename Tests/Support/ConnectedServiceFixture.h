// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "QuorbelEditorService.h"
#include "Support/PedalConnection.h"
#include "Support/ScratchFolder.h"
#include "Support/ServiceFixtureBase.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

/** An editor service attached to the simulated pedal through the real
    transport and protocol, as the application attaches it, with waits that
    take no time; and a scratch folder for the files a test makes. */
class ConnectedServiceFixture : public TestSupport::ServiceFixtureBase
{
protected:
    ConnectedServiceFixture();
    ~ConnectedServiceFixture() override;

    /** Attaches the pedal and waits for the first refresh to end in Idle. */
    void attachAndSettle();

    /** The application's side of a removal: detach, then delete the connection. */
    void detach();

    /** Waits for Idle with every task queued so far finished (by queueing a
        refresh of the current preset behind them, which talks to the pedal). */
    bool waitForIdle();

    /** The pedal's stored block, or an empty vector. */
    std::vector<uint8_t> storedBytes (uint32_t type, uint32_t index) const;

    /** Gives every preset slot and the globals recognisable contents. */
    void fillPedal();

    TestSupport::ScratchFolder scratch;
    std::unique_ptr<TestSupport::PedalConnection> connection;

    // Counts the service's data-change notifications, so a wait can tell
    // when a queued refresh is over.
    Service::Listener dataListener;
    std::atomic<int> dataChanges { 0 };

    // The pedal's block types.
    static constexpr uint32_t globalsBlock = 1;
    static constexpr uint32_t presetBlock = 3;
    static constexpr uint32_t ampNameBlock = 5;
    static constexpr uint32_t ampDataBlock = 6;
    static constexpr uint32_t finishingFilterBlock = 8;
    static constexpr uint32_t cabNameBlock = 9;
    static constexpr uint32_t cabDataBlock = 10;
};
