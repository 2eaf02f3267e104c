// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IUSBHIDDevice.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

namespace TestSupport
{

/** An open HID device in memory, for testing what sits on IUSBHIDDevice.

    Reads return queued input reports one per call, time out when none is
    queued, and fail once failReads() has been called or the device is closed.
    A read waits at most maxWaitMs for input, whatever time-out its caller asks
    for, so a reader polling with long time-outs still stops quickly in tests.
    Writes are recorded whole; a write hook decides what write returns and may
    queue a reply, so a simulated pedal can sit behind it. Thread-safe.
*/
class FakeUSBHIDDevice : public Tessarine::IUSBHIDDevice
{
public:
    /** Returns what write() reports; called without the fake's lock held. */
    using WriteHook = std::function<int (const std::vector<uint8_t>& report)>;

    explicit FakeUSBHIDDevice (uint16_t vendorID = 0x04D8, uint16_t productID = 0x003F, int maxWaitMs = 10);

    //==============================================================================
    void queueInput (std::vector<uint8_t> report);

    /** Every read from now on returns `error` (below 0). */
    void failReads (int error);

    /** Replaces the default hook, which reports the whole report written. */
    void setWriteHook (WriteHook hook);
    void setWriteResult (int result);

    //==============================================================================
    std::vector<std::vector<uint8_t>> writes() const;
    int readCalls() const;
    size_t lastReadLength() const;
    int lastReadTimeout() const;
    bool isClosed() const;

    /** Waits until at least `count` reads have returned. */
    bool waitForReadCalls (int count, int timeoutMs = 10000) const;

    //==============================================================================
    int read (uint8_t* buffer, size_t length, int timeoutMs) override;
    int write (const uint8_t* data, size_t length) override;
    void close() override;
    uint16_t getVendorID() override { return vendorID; }
    uint16_t getProductID() override { return productID; }

private:
    const uint16_t vendorID, productID;
    const int maxWaitMs;

    mutable std::mutex mutex;
    mutable std::condition_variable changed;
    std::deque<std::vector<uint8_t>> input;
    std::vector<std::vector<uint8_t>> written;
    WriteHook writeHook;
    int readError = 0;
    int reads = 0;
    size_t readLength = 0;
    int readTimeout = 0;
    bool closed = false;
};

} // namespace TestSupport
