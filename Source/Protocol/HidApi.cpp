// SPDX-License-Identifier: GPL-3.0-or-later
#include "HidApi.h"

namespace Tessarine
{

namespace
{
class SystemHidApi final : public HidApi
{
public:
    hid_device_info* enumerate (unsigned short vendorID, unsigned short productID) override
    {
        return hid_enumerate (vendorID, productID);
    }

    void freeEnumeration (hid_device_info* devices) override { hid_free_enumeration (devices); }
    hid_device* openPath (const char* path) override { return hid_open_path (path); }
    void close (hid_device* device) override { hid_close (device); }

    int readTimeout (hid_device* device, unsigned char* data, size_t length, int milliseconds) override
    {
        return hid_read_timeout (device, data, length, milliseconds);
    }

    int write (hid_device* device, const unsigned char* data, size_t length) override
    {
        return hid_write (device, data, length);
    }
};
} // namespace

HidApi& HidApi::system()
{
    static SystemHidApi api;
    return api;
}

} // namespace Tessarine
