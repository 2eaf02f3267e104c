// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ServiceSleeper.h"

#include <chrono>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace ServiceTestSupport
{

/** Stands in for the service's real waits: records each requested sleep and
    returns almost at once, so a 3 s settle or a 30 s reconnect limit takes
    microseconds. A hook sees every sleep (1-based count, duration) on the
    worker thread before it returns, which is where a test plugs the pedal
    back in "during" a wait. */
class FakeSleeper : public Quorbel::ServiceSleeper
{
public:
    using Hook = std::function<void (int count, int milliseconds)>;

    void sleep (int milliseconds, const std::atomic<bool>& cancelled) override
    {
        Hook hook;
        int count;
        int holdAt;

        {
            std::lock_guard<std::mutex> lock (mutex);
            slept.push_back (milliseconds);
            count = (int) slept.size();
            hook = onSleep;
            holdAt = holdUntilCancelledAt;
        }

        if (hook)
            hook (count, milliseconds);

        // A pause that lasts until the task is cancelled (bounded, so a broken
        // cancel fails the test instead of hanging it).
        if (count == holdAt)
            for (int i = 0; i < 10000 && ! cancelled; ++i)
                std::this_thread::sleep_for (std::chrono::milliseconds (1));

        // Lets the other threads move, as a real pause would.
        std::this_thread::sleep_for (std::chrono::microseconds (100));
    }

    void setHook (Hook hook)
    {
        std::lock_guard<std::mutex> lock (mutex);
        onSleep = std::move (hook);
    }

    /** The count-th sleep (1-based) lasts until the task is cancelled. */
    void holdUntilCancelled (int count)
    {
        std::lock_guard<std::mutex> lock (mutex);
        holdUntilCancelledAt = count;
    }

    std::vector<int> sleeps()
    {
        std::lock_guard<std::mutex> lock (mutex);
        return slept;
    }

    int count (int milliseconds)
    {
        std::lock_guard<std::mutex> lock (mutex);
        int n = 0;

        for (int s : slept)
            n += s == milliseconds ? 1 : 0;

        return n;
    }

    void clear()
    {
        std::lock_guard<std::mutex> lock (mutex);
        slept.clear();
    }

private:
    std::mutex mutex;
    std::vector<int> slept;
    Hook onSleep;
    int holdUntilCancelledAt = 0;
};

} // namespace ServiceTestSupport
