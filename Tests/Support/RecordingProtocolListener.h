// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TessarineProtocol.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace TestSupport
{

/** A protocol listener that records every state change and status payload it
    is given, from whichever thread delivers them. */
class RecordingProtocolListener : public Tessarine::TessarineProtocol::Handler
{
public:
    void connectionStateChanged (int state) override;
    void messageReceived (const uint8_t* payload, size_t length) override;

    std::vector<int> states() const;
    std::vector<std::vector<uint8_t>> messages() const;

    /** Waits until at least count status payloads have arrived. */
    bool waitForMessages (size_t count, std::chrono::milliseconds timeout) const;

    /** Runs inside connectionStateChanged, i.e. with the engine's state mutex
        held; tests use it to stall the engine at a chosen moment. */
    void setOnStateChange (std::function<void (int)> action);

private:
    mutable std::mutex mutex;
    mutable std::condition_variable arrived;
    std::vector<int> stateLog;
    std::vector<std::vector<uint8_t>> messageLog;
    std::function<void (int)> onStateChange;
};

} // namespace TestSupport
