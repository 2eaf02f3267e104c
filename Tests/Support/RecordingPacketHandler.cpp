// SPDX-License-Identifier: GPL-3.0-or-later
#include "Support/RecordingPacketHandler.h"

#include <chrono>

namespace TestSupport
{

std::vector<int> RecordingPacketHandler::states() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return stateLog;
}

std::vector<std::vector<uint8_t>> RecordingPacketHandler::packets() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return packetLog;
}

bool RecordingPacketHandler::waitForStates (size_t count, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock (mutex);
    return changed.wait_for (lock, std::chrono::milliseconds (timeoutMs), [&] { return stateLog.size() >= count; });
}

bool RecordingPacketHandler::waitForPackets (size_t count, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock (mutex);
    return changed.wait_for (lock, std::chrono::milliseconds (timeoutMs), [&] { return handledPackets >= count; });
}

void RecordingPacketHandler::connectionStateChanged (int state)
{
    std::lock_guard<std::mutex> lock (mutex);
    stateLog.push_back (state);
    changed.notify_all();
}

void RecordingPacketHandler::setOnPacket (PacketHook hook)
{
    std::lock_guard<std::mutex> lock (mutex);
    onPacket = std::move (hook);
}

void RecordingPacketHandler::packetReceived (const uint8_t* packet, size_t length)
{
    PacketHook hook;

    {
        std::lock_guard<std::mutex> lock (mutex);
        packetLog.emplace_back (packet, packet + length);
        hook = onPacket;
    }

    if (hook)
        hook (packet, length);

    std::lock_guard<std::mutex> lock (mutex);
    ++handledPackets;
    changed.notify_all();
}

} // namespace TestSupport
