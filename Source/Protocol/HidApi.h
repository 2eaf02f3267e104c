// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <hidapi.h>

#include <cstddef>

namespace Tessarine
{

/** The few hidapi calls the device manager makes, behind one table of virtual
    functions. The program always uses system(), which forwards to hidapi
    itself; tests hand the manager a simulated bus instead, so no test ever
    opens a device file.
*/
class HidApi
{
public:
    virtual ~HidApi() = default;

    virtual hid_device_info* enumerate (unsigned short vendorID, unsigned short productID) = 0;
    virtual void freeEnumeration (hid_device_info* devices) = 0;
    virtual hid_device* openPath (const char* path) = 0;
    virtual void close (hid_device* device) = 0;
    virtual int readTimeout (hid_device* device, unsigned char* data, size_t length, int milliseconds) = 0;
    virtual int write (hid_device* device, const unsigned char* data, size_t length) = 0;

    /** The real hidapi functions. */
    static HidApi& system();
};

} // namespace Tessarine
