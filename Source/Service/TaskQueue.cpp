// SPDX-License-Identifier: GPL-3.0-or-later
#include "TaskQueue.h"

namespace Tessarine
{

TaskQueue::Task::Task (Body body, Completion completion, bool isCancelled)
    : function (std::move (body)), onComplete (std::move (completion)), cancelled (isCancelled)
{
}

TaskQueue::Task::Task (Task&& other) noexcept
    : function (std::move (other.function)),
      onComplete (std::move (other.onComplete)),
      cancelled (other.cancelled.load())
{
}

TaskQueue::Task& TaskQueue::Task::operator= (Task&& other) noexcept
{
    function = std::move (other.function);
    onComplete = std::move (other.onComplete);
    cancelled = other.cancelled.load();
    return *this;
}

TaskQueue::TaskQueue()
{
    // The members are ready before the worker starts, so it never sees them half-made.
    _thread = std::thread ([this] { threadProc(); });
    _workerId = _thread.get_id();
}

TaskQueue::~TaskQueue()
{
    stop();
}

void TaskQueue::addTask (const Task::Body& function, const Task::Completion& onComplete)
{
    {
        std::lock_guard<std::mutex> lock (_mutex);

        if (! _workerEnded)
        {
            _tasks.emplace_back (function, onComplete, ! _running);
            _condition.notify_all();
            return;
        }
    }

    // No worker is left to drop it: complete it here, as the worker would have.
    if (onComplete)
        onComplete();
}

void TaskQueue::cancelAll()
{
    std::lock_guard<std::mutex> lock (_mutex);

    for (auto& task : _tasks)
        task.cancelled = true;

    if (_current != nullptr)
        _current->cancelled = true;
}

void TaskQueue::stop()
{
    {
        std::lock_guard<std::mutex> lock (_mutex);
        _running = false;
    }

    cancelAll();
    _condition.notify_all();

    if (std::this_thread::get_id() == _workerId)
        return;

    std::lock_guard<std::mutex> joinLock (_joinMutex);

    if (_thread.joinable())
        _thread.join();
}

void TaskQueue::threadProc()
{
    std::unique_lock<std::mutex> lock (_mutex);

    for (;;)
    {
        if (_tasks.empty())
        {
            // The stop flag counts only once the queue is empty, so every task
            // queued before the stop is still taken off and its completion run.
            if (! _running)
            {
                _workerEnded = true;
                return;
            }

            _condition.wait (lock);
            continue;
        }

        {
            Task task (std::move (_tasks.front()));
            _tasks.pop_front();
            _current = &task;
            lock.unlock();

            if (! task.cancelled && task.function)
                task.function (task); // bodies report their own failures

            if (task.onComplete)
                task.onComplete();

            // Unpublished before it dies, so cancelAll never reaches a dead copy;
            // it dies without the mutex, in case its captures queue more work.
            lock.lock();
            _current = nullptr;
            lock.unlock();
        }

        lock.lock();
    }
}

} // namespace Tessarine
