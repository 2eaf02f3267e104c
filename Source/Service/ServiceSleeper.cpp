// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServiceSleeper.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace Quorbel
{

void ServiceSleeper::sleep (int milliseconds, const std::atomic<bool>& cancelled)
{
    // Short slices: a cancel is seen within one of them.
    constexpr int slice = 20;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds (milliseconds);

    while (! cancelled)
    {
        const auto now = std::chrono::steady_clock::now();

        if (now >= end)
            return;

        std::this_thread::sleep_for (std::min<std::chrono::steady_clock::duration> (end - now, std::chrono::milliseconds (slice)));
    }
}

} // namespace Quorbel
