// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TessarineProtocol.h"
#include "TessarineUSBPacketIO.h"

#include <chrono>
#include <cstdint>
#include <memory>

namespace TestSupport
{

class SimulatedPedal;

/** The connection the application builds over an arrived pedal - the real
    transport with its reader thread, and the protocol engine over it - here
    over a simulated pedal. Torn down as the application does it: protocol
    first, then transport; the pedal itself is left open.
*/
class PedalConnection
{
public:
    /** Waits (up to ten seconds, for a loaded machine) for the transport's
        reader to report that it runs, so transactions may start at once;
        check isConnected(). */
    explicit PedalConnection (SimulatedPedal& pedal, Tessarine::TessarineProtocol::Timeouts timeouts = {},
                              uint32_t variant = 1);
    ~PedalConnection();

    PedalConnection (const PedalConnection&) = delete;
    PedalConnection& operator= (const PedalConnection&) = delete;

    Tessarine::TessarineProtocol& protocol() { return *engine; }
    Tessarine::TessarineUSBPacketIO& transport() { return *io; }

    bool isConnected() const;

    /** Polls the engine's state until it equals state or the time is up. */
    bool waitForState (uint32_t state, std::chrono::milliseconds timeout = std::chrono::milliseconds (10000)) const;

private:
    std::unique_ptr<Tessarine::TessarineUSBPacketIO> io;
    std::unique_ptr<Tessarine::TessarineProtocol> engine;
};

} // namespace TestSupport
