// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "QuorbelEditorService.h"
#include "Result.h"
#include "Support/FakeSleeper.h"
#include "Support/LogCapture.h"
#include "Support/SimulatedPedal.h"
#include "TessarineProtocol.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

namespace TestSupport
{

/** What every fixture around a connected editor service starts from: a
    service that requires the pedal's current DSP firmware and waits through a
    fake sleeper, the simulated pedal it is attached to, protocol time-outs
    long enough never to fire by accident on a loaded machine (tests that want
    a time-out shorten them), and the service's log, printed when a test
    fails. A derived fixture adds the connection it attaches through, and
    deletes the service before it in its destructor, as the application does. */
class ServiceFixtureBase : public ::testing::Test
{
protected:
    using Service = Quorbel::QuorbelEditorService;
    using State = Service::State;

    ServiceFixtureBase();
    ~ServiceFixtureBase() override;

    /** Runs the fixture's attach (which connects the service) and waits, ten
        seconds at most, until the first refresh reaches its last step: the
        request for status reports. */
    ::testing::AssertionResult attachAndAwaitStatusRequest (const std::function<Tessarine::Result()>& attach);

    /** Polls until the condition holds (true) or ten seconds pass (false). */
    static bool waitFor (const std::function<bool()>& condition);

    /** The pedal's stored parameter list of a block, decoded. */
    std::map<uint32_t, uint32_t> storedParams (uint32_t type, uint32_t index) const;

    Tessarine::TessarineProtocol::Timeouts timeouts;
    LogCapture log;
    SimulatedPedal pedal;
    ServiceTestSupport::FakeSleeper sleeper;
    std::unique_ptr<Service> service;
};

} // namespace TestSupport
