// SPDX-License-Identifier: GPL-3.0-or-later
#include "TaskQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <string>
#include <vector>

using Tessarine::Result;
using Tessarine::TaskQueue;

namespace
{
/** A one-shot signal between test and worker threads. */
class Gate
{
public:
    void open()
    {
        std::lock_guard<std::mutex> lock (mutex);
        isOpen = true;
        condition.notify_all();
    }

    bool waitOpen (std::chrono::milliseconds limit = std::chrono::seconds (10))
    {
        std::unique_lock<std::mutex> lock (mutex);
        return condition.wait_for (lock, limit, [this] { return isOpen; });
    }

private:
    std::mutex mutex;
    std::condition_variable condition;
    bool isOpen = false;
};

/** Thread-safe log of events in the order they happened. */
class Events
{
public:
    void add (const std::string& e)
    {
        std::lock_guard<std::mutex> lock (mutex);
        events.push_back (e);
    }

    std::vector<std::string> get()
    {
        std::lock_guard<std::mutex> lock (mutex);
        return events;
    }

private:
    std::mutex mutex;
    std::vector<std::string> events;
};

TaskQueue::Task::Body record (Events& events, const std::string& name)
{
    return [&events, name] (TaskQueue::Task&) {
        events.add (name);
        return Result::success();
    };
}

TaskQueue::Task::Completion completion (Events& events, const std::string& name)
{
    return [&events, name] { events.add (name + " done"); };
}

void waitIdle (TaskQueue& queue)
{
    std::promise<void> drained;
    queue.addTask ([&] (TaskQueue::Task&) { drained.set_value(); return Result::success(); }, {});
    ASSERT_EQ (drained.get_future().wait_for (std::chrono::seconds (10)), std::future_status::ready);
}
} // namespace

TEST (TaskQueue, RunsTasksInOrderWithTheirCompletions)
{
    Events events;
    TaskQueue queue;
    queue.addTask (record (events, "a"), completion (events, "a"));
    queue.addTask (record (events, "b"), {});
    queue.addTask (record (events, "c"), completion (events, "c"));
    waitIdle (queue);

    EXPECT_EQ (events.get(), (std::vector<std::string> { "a", "a done", "b", "c", "c done" }));
}

TEST (TaskQueue, CancelledQueuedTaskIsDroppedButCompleted)
{
    Events events;
    Gate started, release;
    TaskQueue queue;

    queue.addTask ([&] (TaskQueue::Task& self) {
        started.open();
        release.waitOpen();
        events.add (self.cancelled ? "first saw cancel" : "first not cancelled");
        return Result::success();
    }, completion (events, "first"));
    queue.addTask (record (events, "second"), completion (events, "second"));

    ASSERT_TRUE (started.waitOpen());
    queue.cancelAll();
    // Queued after the cancel: unaffected.
    queue.addTask (record (events, "third"), completion (events, "third"));
    release.open();
    waitIdle (queue);

    EXPECT_EQ (events.get(), (std::vector<std::string> { "first saw cancel", "first done", "second done", "third", "third done" }));
}

TEST (TaskQueue, BodyCanQueueFollowUpWithoutBlocking)
{
    Events events;
    Gate bothQueued, followUpRan;
    TaskQueue queue;
    queue.addTask ([&] (TaskQueue::Task&) {
        bothQueued.waitOpen();
        queue.addTask ([&] (TaskQueue::Task&) {
            events.add ("follow-up");
            followUpRan.open();
            return Result::success();
        }, {});
        events.add ("body returns");
        return Result::success();
    }, {});
    queue.addTask (record (events, "queued earlier"), {});
    bothQueued.open();
    ASSERT_TRUE (followUpRan.waitOpen());

    EXPECT_EQ (events.get(), (std::vector<std::string> { "body returns", "queued earlier", "follow-up" }));
}

TEST (TaskQueue, DestructionWaitsForTheRunningBodyAndDropsTheRest)
{
    Events events;
    Gate started;
    std::atomic<bool> sawCancel { false };

    {
        TaskQueue queue;
        queue.addTask ([&] (TaskQueue::Task& self) {
            started.open();
            // A body that honours cancellation: spins until it sees the mark.
            while (! self.cancelled)
                std::this_thread::sleep_for (std::chrono::milliseconds (1));
            sawCancel = true;
            events.add ("running body returned");
            return Result::success();
        }, {});
        queue.addTask (record (events, "queued"), completion (events, "queued"));
        ASSERT_TRUE (started.waitOpen());
    }

    EXPECT_TRUE (sawCancel);
    EXPECT_EQ (events.get(), (std::vector<std::string> { "running body returned", "queued done" }));
}

TEST (TaskQueue, TaskAddedDuringDestructionIsDroppedNotRun)
{
    Events events;
    Gate started;

    {
        TaskQueue queue;
        queue.addTask ([&] (TaskQueue::Task& self) {
            started.open();
            while (! self.cancelled)
                std::this_thread::sleep_for (std::chrono::milliseconds (1));
            // Like the firmware task queuing its refresh while being torn down.
            queue.addTask (record (events, "late follow-up ran"), completion (events, "late follow-up"));
            return Result::success();
        }, {});
        ASSERT_TRUE (started.waitOpen());
    }

    EXPECT_EQ (events.get(), (std::vector<std::string> { "late follow-up done" }));
}

TEST (TaskQueue, StopJoinsEarlyAndIsIdempotent)
{
    Events events;
    TaskQueue queue;
    queue.addTask (record (events, "a"), {});
    waitIdle (queue);
    queue.stop();
    queue.addTask (record (events, "after stop"), completion (events, "after stop"));
    queue.stop();

    // No worker is left: the body never runs, its completion runs in its place.
    EXPECT_EQ (events.get(), (std::vector<std::string> { "a", "after stop done" }));
}

TEST (TaskQueue, StopFromInsideABodyDoesNotDeadlock)
{
    Events events;
    Gate ran;
    {
        TaskQueue queue;
        queue.addTask ([&] (TaskQueue::Task& self) {
            queue.stop();
            events.add (self.cancelled ? "cancelled" : "not cancelled");
            ran.open();
            return Result::success();
        }, {});
        queue.addTask (record (events, "next"), completion (events, "next"));
        ASSERT_TRUE (ran.waitOpen());
    }
    EXPECT_EQ (events.get(), (std::vector<std::string> { "cancelled", "next done" }));
}
