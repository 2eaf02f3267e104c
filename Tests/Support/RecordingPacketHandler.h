// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IDevicePacketIO.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

namespace TestSupport
{

/** A transport handler that records every state and packet it is given, in
    order, and lets a test wait for them. Thread-safe: the transport calls it
    on its reader thread while the test reads it on its own.
*/
class RecordingPacketHandler : public Tessarine::IDevicePacketIO::Handler
{
public:
    using PacketHook = std::function<void (const uint8_t* packet, size_t length)>;

    /** Runs inside packetReceived after the packet is recorded (e.g. to make
        the callback slow); called without the recorder's lock held. May be
        set while the reader delivers. */
    void setOnPacket (PacketHook hook);

    std::vector<int> states() const;
    std::vector<std::vector<uint8_t>> packets() const;

    bool waitForStates (size_t count, int timeoutMs = 10000) const;

    /** Waits until `count` packets have been handled, their onPacket included,
        so what the hook did for them can be checked at once. */
    bool waitForPackets (size_t count, int timeoutMs = 10000) const;

    void connectionStateChanged (int state) override;
    void packetReceived (const uint8_t* packet, size_t length) override;

private:
    mutable std::mutex mutex;
    mutable std::condition_variable changed;
    std::vector<int> stateLog;
    std::vector<std::vector<uint8_t>> packetLog;
    size_t handledPackets = 0;
    PacketHook onPacket;
};

} // namespace TestSupport
