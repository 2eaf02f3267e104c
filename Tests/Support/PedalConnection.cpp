// SPDX-License-Identifier: GPL-3.0-or-later
#include "Support/PedalConnection.h"

#include "Support/SimulatedPedal.h"

#include <thread>

namespace TestSupport
{

PedalConnection::PedalConnection (SimulatedPedal& pedal, Tessarine::TessarineProtocol::Timeouts timeouts, uint32_t variant)
    : io (std::make_unique<Tessarine::TessarineUSBPacketIO> (&pedal)),
      engine (std::make_unique<Tessarine::TessarineProtocol> (io.get(), variant, timeouts))
{
    waitForState (Tessarine::TessarineProtocol::stateConnected);
}

PedalConnection::~PedalConnection()
{
    engine.reset();
    io.reset();
}

bool PedalConnection::isConnected() const
{
    return engine->getState() == Tessarine::TessarineProtocol::stateConnected;
}

bool PedalConnection::waitForState (uint32_t state, std::chrono::milliseconds timeout) const
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;

    while (engine->getState() != state)
    {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;

        std::this_thread::sleep_for (std::chrono::milliseconds (1));
    }

    return true;
}

} // namespace TestSupport
