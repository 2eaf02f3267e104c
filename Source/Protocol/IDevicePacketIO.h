// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Result.h"

#include <cstddef>
#include <cstdint>

namespace Tessarine
{

/** The packet transport the protocol engine talks through: whole packets out,
    whole input reports in, plus connection-state changes. */
class IDevicePacketIO
{
public:
    /** Transport states passed to Handler::connectionStateChanged. */
    enum State
    {
        stateStopped = 0,
        stateRunning = 1,
        stateError = 2
    };

    class Handler
    {
    public:
        virtual ~Handler() = default;
        virtual void connectionStateChanged (int state) = 0;
        virtual void packetReceived (const uint8_t* packet, size_t length) = 0;
    };

    virtual ~IDevicePacketIO() = default;

    /** Attaches a handler (null detaches); a non-null handler is told the
        current state at once. */
    virtual Result setHandler (Handler* handler) = 0;

    /** Sends one whole packet (type, length, payload). */
    virtual Result sendPacket (const uint8_t* data, size_t length) = 0;

    /** Discards any buffered input; called when the protocol gives up on the stream. */
    virtual Result flush() = 0;
};

} // namespace Tessarine
