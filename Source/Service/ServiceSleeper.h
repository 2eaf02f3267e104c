// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>

namespace Quorbel
{

/** How the editor service waits: the settle time after an attach, the pedal's
    restart after a firmware update. The default really sleeps; tests put a
    fake in its place so those seconds pass in microseconds.

    A sleep ends early once `cancelled` becomes true, so stopping the service
    never waits out a long pause; callers treat an early end like a full one. */
class ServiceSleeper
{
public:
    virtual ~ServiceSleeper() = default;

    virtual void sleep (int milliseconds, const std::atomic<bool>& cancelled);
};

} // namespace Quorbel
