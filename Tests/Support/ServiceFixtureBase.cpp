// SPDX-License-Identifier: GPL-3.0-or-later
#include "Support/ServiceFixtureBase.h"

#include "TessarineData.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace TestSupport
{

ServiceFixtureBase::ServiceFixtureBase()
{
    timeouts.replyMs = 20000;
    timeouts.pingMs = 20000;

    Tessarine::TessarineData::FirmwareVersionInfo required;
    required.dsp = { 0, 3, 3, 0 };
    service = std::make_unique<Service> (&required, &sleeper);
}

ServiceFixtureBase::~ServiceFixtureBase()
{
    // The service's own account of what happened, for a failing test.
    if (HasFailure())
        for (const auto& line : log.lines())
            std::printf ("  log: %s\n", line.c_str());
}

::testing::AssertionResult ServiceFixtureBase::attachAndAwaitStatusRequest (const std::function<Tessarine::Result()>& attach)
{
    const size_t requestsBefore = pedal.statusRequests();
    const auto attached = attach();

    if (! attached)
        return ::testing::AssertionFailure() << "attach failed: " << (attached.error != nullptr ? attached.error : "");

    if (! waitFor ([&] { return pedal.statusRequests() > requestsBefore; }))
        return ::testing::AssertionFailure() << "the refresh never asked for status reports";

    return ::testing::AssertionSuccess();
}

bool ServiceFixtureBase::waitFor (const std::function<bool()>& condition)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds (10);

    while (! condition())
    {
        if (std::chrono::steady_clock::now() > end)
            return false;

        std::this_thread::sleep_for (std::chrono::milliseconds (1));
    }

    return true;
}

std::map<uint32_t, uint32_t> ServiceFixtureBase::storedParams (uint32_t type, uint32_t index) const
{
    std::map<uint32_t, uint32_t> params;
    const auto block = pedal.storedBlock (type, index);

    if (block)
        Tessarine::TessarineData::decodeParamList (block->data(), block->size(), params);

    return params;
}

} // namespace TestSupport
