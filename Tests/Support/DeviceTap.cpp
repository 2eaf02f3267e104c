// SPDX-License-Identifier: GPL-3.0-or-later
#include "Support/DeviceTap.h"

namespace TestSupport
{

DeviceTap::DeviceTap (Tessarine::IUSBHIDDevice& d) : device (d) {}

int DeviceTap::read (uint8_t* buffer, size_t length, int timeoutMs)
{
    const int n = device.read (buffer, length, timeoutMs);

    if (n > 0)
        ++readCount;

    return n;
}

int DeviceTap::write (const uint8_t* data, size_t length)
{
    WriteFilter f;

    {
        std::lock_guard<std::mutex> lock (filterMutex);
        f = filter;
    }

    ++written;

    if (! f)
        return device.write (data, length);

    Report report (data, data + length);
    f (report);
    const int n = device.write (report.data(), report.size());
    // The host asked to write `length` bytes; a rewrite may change the size.
    return n < 0 ? n : (int) length;
}

void DeviceTap::close() { device.close(); }
uint16_t DeviceTap::getVendorID() { return device.getVendorID(); }
uint16_t DeviceTap::getProductID() { return device.getProductID(); }

void DeviceTap::setWriteFilter (WriteFilter f)
{
    std::lock_guard<std::mutex> lock (filterMutex);
    filter = std::move (f);
}

void DeviceTap::resetCounts()
{
    written = 0;
    readCount = 0;
}

} // namespace TestSupport
