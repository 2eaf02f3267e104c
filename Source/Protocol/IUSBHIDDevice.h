// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

namespace Tessarine
{

/** One open HID device. The transport sees devices only through this, so tests
    put a simulated pedal behind it. */
class IUSBHIDDevice
{
public:
    virtual ~IUSBHIDDevice() = default;

    /** Bytes read, 0 on time-out, below 0 on error. */
    virtual int read (uint8_t* buffer, size_t length, int timeoutMs) = 0;

    /** data[0] is the report id. The length written, or below 0 on error. */
    virtual int write (const uint8_t* data, size_t length) = 0;

    virtual void close() = 0;
    virtual uint16_t getVendorID() = 0;
    virtual uint16_t getProductID() = 0;
};

} // namespace Tessarine
