// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IUSBHIDDevice.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace TestSupport
{

/** Sits between a transport and the device it talks to (usually the simulated
    pedal): forwards everything, counts the reports each way, and lets a test
    watch or rewrite what the host writes before the device sees it. */
class DeviceTap : public Tessarine::IUSBHIDDevice
{
public:
    using Report = std::vector<uint8_t>;

    /** May change the report (report id first) before it is forwarded. */
    using WriteFilter = std::function<void (Report& report)>;

    explicit DeviceTap (Tessarine::IUSBHIDDevice& device);

    int read (uint8_t* buffer, size_t length, int timeoutMs) override;
    int write (const uint8_t* data, size_t length) override;
    void close() override;
    uint16_t getVendorID() override;
    uint16_t getProductID() override;

    /** Runs on the writing thread, inside write(); may be set while reports
        flow (a write in progress keeps the filter it started with). */
    void setWriteFilter (WriteFilter filter);

    size_t reportsWritten() const { return written; }
    size_t reportsRead() const { return readCount; }
    void resetCounts();

private:
    Tessarine::IUSBHIDDevice& device;
    std::mutex filterMutex;
    WriteFilter filter;
    std::atomic<size_t> written { 0 };
    std::atomic<size_t> readCount { 0 };
};

} // namespace TestSupport
