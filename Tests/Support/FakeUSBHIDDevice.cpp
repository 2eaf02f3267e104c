// SPDX-License-Identifier: GPL-3.0-or-later
#include "Support/FakeUSBHIDDevice.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace TestSupport
{

FakeUSBHIDDevice::FakeUSBHIDDevice (uint16_t vendorID_, uint16_t productID_, int maxWaitMs_)
    : vendorID (vendorID_), productID (productID_), maxWaitMs (maxWaitMs_)
{
}

void FakeUSBHIDDevice::queueInput (std::vector<uint8_t> report)
{
    std::lock_guard<std::mutex> lock (mutex);
    input.push_back (std::move (report));
    changed.notify_all();
}

void FakeUSBHIDDevice::failReads (int error)
{
    std::lock_guard<std::mutex> lock (mutex);
    readError = error;
    changed.notify_all();
}

void FakeUSBHIDDevice::setWriteHook (WriteHook hook)
{
    std::lock_guard<std::mutex> lock (mutex);
    writeHook = std::move (hook);
}

void FakeUSBHIDDevice::setWriteResult (int result)
{
    setWriteHook ([result] (const std::vector<uint8_t>&) { return result; });
}

std::vector<std::vector<uint8_t>> FakeUSBHIDDevice::writes() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return written;
}

int FakeUSBHIDDevice::readCalls() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return reads;
}

size_t FakeUSBHIDDevice::lastReadLength() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return readLength;
}

int FakeUSBHIDDevice::lastReadTimeout() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return readTimeout;
}

bool FakeUSBHIDDevice::isClosed() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return closed;
}

bool FakeUSBHIDDevice::waitForReadCalls (int count, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock (mutex);
    return changed.wait_for (lock, std::chrono::milliseconds (timeoutMs), [&] { return reads >= count; });
}

int FakeUSBHIDDevice::read (uint8_t* buffer, size_t length, int timeoutMs)
{
    std::unique_lock<std::mutex> lock (mutex);
    readLength = length;
    readTimeout = timeoutMs;

    const int wait = timeoutMs < 0 ? maxWaitMs : std::min (timeoutMs, maxWaitMs);
    changed.wait_for (lock, std::chrono::milliseconds (wait),
                      [this] { return closed || readError < 0 || ! input.empty(); });

    int result = 0;

    if (closed)
        result = -1;
    else if (readError < 0)
        result = readError;
    else if (! input.empty())
    {
        const auto report = std::move (input.front());
        input.pop_front();
        const size_t count = std::min (length, report.size());
        std::memcpy (buffer, report.data(), count);
        result = (int) count;
    }

    ++reads;
    changed.notify_all();
    return result;
}

int FakeUSBHIDDevice::write (const uint8_t* data, size_t length)
{
    std::vector<uint8_t> report (data, data + length);
    WriteHook hook;
    {
        std::lock_guard<std::mutex> lock (mutex);

        if (closed)
            return -1;

        written.push_back (report);
        hook = writeHook;
    }

    return hook ? hook (report) : (int) length;
}

void FakeUSBHIDDevice::close()
{
    std::lock_guard<std::mutex> lock (mutex);
    closed = true;
    changed.notify_all();
}

} // namespace TestSupport
