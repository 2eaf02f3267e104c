// SPDX-License-Identifier: GPL-3.0-or-later
#include "BackgroundUpdateCheck.h"

#include "UpdateChecker.h"

#include <thread>

BackgroundUpdateCheck::BackgroundUpdateCheck (std::function<void()> onNewerVersion)
    : shared (std::make_shared<Shared>())
{
    shared->onNewerVersion = std::move (onNewerVersion);
}

BackgroundUpdateCheck::~BackgroundUpdateCheck()
{
    close();
}

void BackgroundUpdateCheck::start (const juce::String& host, int timeoutMs)
{
    {
        std::lock_guard<std::mutex> lock (shared->mutex);
        shared->running = true;
    }

    std::thread ([state = shared, host, timeoutMs]
                 {
                     const bool newer = UpdateChecker (host, timeoutMs).check();

                     std::lock_guard<std::mutex> lock (state->mutex);
                     state->running = false;
                     state->finished.notify_all();

                     if (! newer || state->closed)
                         return;

                     state->newerVersion = true;

                     if (state->onNewerVersion)
                         state->onNewerVersion();
                 })
        .detach();
}

bool BackgroundUpdateCheck::takeNewerVersionFlag()
{
    std::lock_guard<std::mutex> lock (shared->mutex);
    const bool wasSet = shared->newerVersion;
    shared->newerVersion = false;
    return wasSet;
}

void BackgroundUpdateCheck::close()
{
    std::lock_guard<std::mutex> lock (shared->mutex);
    shared->closed = true;
    // Drop what the callback captured (the application) now, not when the
    // last thread lets go of the state.
    shared->onNewerVersion = nullptr;
}

bool BackgroundUpdateCheck::waitUntilFinished (int timeoutMs)
{
    std::unique_lock<std::mutex> lock (shared->mutex);
    return shared->finished.wait_for (lock, std::chrono::milliseconds (timeoutMs), [this] { return ! shared->running; });
}
