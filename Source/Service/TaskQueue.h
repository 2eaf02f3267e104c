// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Result.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace Tessarine
{

/** Runs device work one task at a time, in the order queued, on one worker
    thread of its own, so the GUI thread never waits for the pedal.

    A task marked cancelled while still queued is dropped without running (its
    completion callback still runs); a running task sees the mark through the
    Task it is given and may stop early. The queue never calls out while holding
    its mutex, so callers may queue work while holding locks of their own. */
class TaskQueue
{
public:
    struct Task
    {
        using Body = std::function<Result (Task&)>;
        using Completion = std::function<void()>;

        Task() = default;
        Task (Body body, Completion completion, bool isCancelled);
        Task (Task&& other) noexcept;
        Task& operator= (Task&& other) noexcept;

        Body function;
        Completion onComplete;
        // Written under the queue's mutex, read by the running body without it.
        std::atomic<bool> cancelled { false };
    };

    /** Starts the worker; throws std::system_error if the thread cannot be made. */
    TaskQueue();

    /** Stops the queue (see stop()). */
    ~TaskQueue();

    /** Queues a task from any thread, also from a running body. Once the queue
        is stopping, the task is queued already cancelled, so it is dropped and
        only its completion callback runs (on the caller's thread once the
        worker has ended). */
    void addTask (const Task::Body& function, const Task::Completion& onComplete);

    /** Marks every queued task and the running one cancelled. */
    void cancelAll();

    /** Cancels everything and joins the worker, which first drops the queued
        tasks and lets the running body return. Idempotent. Called from a task
        body it cannot join its own thread; it then only cancels, and the
        destructor joins later. */
    void stop();

private:
    void threadProc();

    std::deque<Task> _tasks;
    Task* _current = nullptr;
    std::mutex _mutex;
    std::thread _thread;
    std::condition_variable _condition;
    bool _running = true;
    bool _workerEnded = false;
    std::thread::id _workerId;
    std::mutex _joinMutex; // one joiner at a time
};

} // namespace Tessarine
