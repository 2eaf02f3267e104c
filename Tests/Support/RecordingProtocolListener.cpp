// SPDX-License-Identifier: GPL-3.0-or-later
#include "Support/RecordingProtocolListener.h"

namespace TestSupport
{

void RecordingProtocolListener::connectionStateChanged (int state)
{
    std::function<void (int)> action;

    {
        std::lock_guard<std::mutex> lock (mutex);
        stateLog.push_back (state);
        action = onStateChange;
    }

    if (action)
        action (state);
}

void RecordingProtocolListener::messageReceived (const uint8_t* payload, size_t length)
{
    std::lock_guard<std::mutex> lock (mutex);
    messageLog.emplace_back (payload, payload + length);
    arrived.notify_all();
}

std::vector<int> RecordingProtocolListener::states() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return stateLog;
}

std::vector<std::vector<uint8_t>> RecordingProtocolListener::messages() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return messageLog;
}

bool RecordingProtocolListener::waitForMessages (size_t count, std::chrono::milliseconds timeout) const
{
    std::unique_lock<std::mutex> lock (mutex);
    return arrived.wait_for (lock, timeout, [&] { return messageLog.size() >= count; });
}

void RecordingProtocolListener::setOnStateChange (std::function<void (int)> action)
{
    std::lock_guard<std::mutex> lock (mutex);
    onStateChange = std::move (action);
}

} // namespace TestSupport
