// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_core/juce_core.h>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

/** Runs the update check once on a detached thread and keeps its result for
    the message thread.

    The thread never touches its owner directly: it shares only a small state
    block with it, and once close() has returned the thread drops its result
    instead of setting the flag or calling onNewerVersion. So a check that ends
    after the application has begun to shut down (or is gone) does no harm, and
    a slow server never delays quitting.
*/
class BackgroundUpdateCheck
{
public:
    /** onNewerVersion runs on the check's thread, under the state's lock, when
        a newer version was found and the check is still open. */
    explicit BackgroundUpdateCheck (std::function<void()> onNewerVersion);

    /** Closes the check (see close()). */
    ~BackgroundUpdateCheck();

    /** Starts checkForUpdate against host on a new detached thread. */
    void start (const juce::String& host, int timeoutMs = 3000);

    /** Reads and clears the newer-version flag in one locked step. */
    bool takeNewerVersionFlag();

    /** From now on the running check, if any, drops its result. */
    void close();

    /** Waits up to timeoutMs for a started check to end; true when it has.
        The application never waits; tests do, so no check outlives them. */
    bool waitUntilFinished (int timeoutMs);

private:
    struct Shared
    {
        std::mutex mutex;
        bool newerVersion = false;
        bool closed = false;
        bool running = false;
        std::condition_variable finished;
        std::function<void()> onNewerVersion;
    };

    std::shared_ptr<Shared> shared;

    JUCE_DECLARE_NON_COPYABLE (BackgroundUpdateCheck)
};
